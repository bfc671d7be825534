// The print folder of a print's options.
// Makes only the default folder, when it is missing; never writes a file.
#include "suite/stampa/pdf_stampa.h"

#include <cstdlib>
#include <filesystem>

#include "platform/path_map.h"
#include "platform/text.h"
#include "suite/opzioni/opz_stampa.h"

namespace tolvane {

namespace {

namespace fs = std::filesystem;

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

}  // namespace tolvane
