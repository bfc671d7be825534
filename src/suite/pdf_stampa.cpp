// The print's PDF in the print folder, from the engine's PostScript.
// A failed conversion removes its partial file; the name chosen is never one in use.
#include "suite/pdf_stampa.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/numbered_error.h"
#include "platform/path_map.h"
#include "platform/text.h"
#include "suite/messaggio_email.h"
#include "suite/opz_stampa.h"

extern char** environ;

namespace tolvane {

namespace {

namespace fs = std::filesystem;
constexpr const char* kSource = "MotoreStampaLista";

// The folder a setting names: itself when it is one, else the folder of the file it names.
std::string folderOf(const std::string& setting) {
    const std::string path = mapWindowsPath(Trim(setting));
    if (path.empty()) return {};
    std::error_code ec;
    if (fs::is_directory(path, ec)) return path;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty() && fs::is_directory(parent, ec)) return parent.string();
    return {};
}

bool convert(const std::string& from, const std::string& to) {
    std::string program = "ps2pdf";
    std::vector<char*> argv = {program.data(), const_cast<char*>(from.c_str()),
                               const_cast<char*>(to.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::string printFolder(const OpzStampa& options) {
    std::string folder = folderOf(options.LeggiParStampa("PdfNomeFile").text());
    if (folder.empty()) folder = folderOf(options.PathDefault);
    if (!folder.empty()) return folder;
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    fs::path base = data != nullptr && *data != '\0'
                        ? fs::path(data)
                        : fs::path(home != nullptr ? home : "/tmp") / ".local/share";
    fs::path stampe = base / "tolvane" / "stampe";
    std::error_code ec;
    fs::create_directories(stampe, ec);
    return stampe.string();
}

std::string writePrintPdf(const std::string& postScript, const OpzStampa& options,
                          const std::string& title) {
    const std::string folder = printFolder(options);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "_%Y%m%d_%H%M%S", &local);
    std::string stem = attachmentNameFor(title);
    stem = stem.substr(0, stem.size() - 4) + stamp;
    std::string target;
    int fd = -1;
    for (int n = 1; fd < 0 && n < 1000; ++n) {
        target =
            (fs::path(folder) / (stem + (n > 1 ? "_" + std::to_string(n) : "") + ".pdf")).string();
        fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        throw NumberedError(errnum::FileAccess,
                            "Impossibile scrivere il file pdf nella cartella " + folder, kSource);
    }
    ::close(fd);
    const std::string source = target + ".ps";
    bool ok = false;
    {
        std::ofstream out(source, std::ios::binary);
        out << postScript;
        out.close();
        ok = static_cast<bool>(out) && convert(source, target);
    }
    std::remove(source.c_str());
    if (!ok) {
        std::remove(target.c_str());
        throw NumberedError(errnum::FileAccess, "Impossibile creare il file pdf " + target,
                            kSource);
    }
    return target;
}

}  // namespace tolvane
