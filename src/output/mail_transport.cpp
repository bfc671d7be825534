// The transport that hands a print's e-mail to the desktop's mail client, and the in-memory one.
// The client's helper gets no input; its answer is read back through an unnamed temporary file.
#include "output/mail_transport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/text.h"

extern char** environ;

namespace tolvane {

namespace {

// A file with no name in the temporary folder, closed with the object.
class UnnamedFile {
  public:
    UnnamedFile() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tolvane-email-XXXXXX").string();
        fd_ = ::mkstemp(pattern.data());
        if (fd_ >= 0) ::unlink(pattern.c_str());
    }
    ~UnnamedFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    UnnamedFile(const UnnamedFile&) = delete;
    UnnamedFile& operator=(const UnnamedFile&) = delete;
    int fd() const { return fd_; }
    std::string read() const {
        std::string out;
        ::lseek(fd_, 0, SEEK_SET);
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(fd_, buffer, sizeof buffer)) > 0)
            out.append(buffer, static_cast<std::size_t>(n));
        return out;
    }

  private:
    int fd_ = -1;
};

struct ProgramRun {
    bool started = false;
    bool stillRunning = false;  // past the caller's patience; left to end by itself
    int exitCode = -1;
    std::string output;  // its output and errors
};

// Programs left running past their caller's patience, collected once they end.
std::vector<pid_t>& programsLeftRunning() {
    static std::vector<pid_t> pids;
    return pids;
}

void collectEndedPrograms() {
    std::erase_if(programsLeftRunning(),
                  [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

// Runs the program (a name without "/" is looked up on PATH) with nothing on its standard input
// and waits for it, at most `patience`.
ProgramRun runProgram(const std::vector<std::string>& args, std::chrono::milliseconds patience) {
    collectEndedPrograms();
    ProgramRun run;
    UnnamedFile out;
    if (out.fd() < 0) return run;
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.fd(), 1);
    posix_spawn_file_actions_adddup2(&actions, out.fd(), 2);
    pid_t pid = 0;
    const int error =
        args[0].find('/') == std::string::npos
            ? posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ)
            : posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return run;
    run.started = true;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid || (ended < 0 && errno != EINTR)) break;
        if (ended == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                programsLeftRunning().push_back(pid);
                run.stillRunning = true;
                return run;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = Trim(out.read());
    return run;
}

std::string firstLine(const std::string& text) {
    const auto end = text.find_first_of("\r\n");
    return end == std::string::npos ? text : text.substr(0, end);
}

}  // namespace

SmtpTls smtpTlsFor(bool ssl, int port) {
    if (!ssl) return SmtpTls::WhenOffered;
    return port == 465 ? SmtpTls::Implicit : SmtpTls::Required;
}

// The wait is short and bounded (patience_), so stop is not asked.
SendOutcome DesktopMailTransport::send(const PrintMail& mail, const std::string& /*message*/,
                                       const StopCheck& /*stop*/) {
    std::vector<std::string> args = {program_, "--utf8",  "--subject", mail.subject,
                                     "--body", mail.text, "--attach",  mail.attachmentPath};
    for (const std::string& to : mail.recipients) args.push_back(to);
    ProgramRun run = runProgram(args, patience_);
    // A mail client that xdg-email started stays in its foreground until the user closes it:
    // the mail is in the user's hands, and the program must not wait for that.
    if (run.stillRunning) return {};
    if (!run.started) {
        return {SendOutcome::Failed,
                "nessun programma di posta del desktop: " + program_ + " non trovato"};
    }
    if (run.exitCode == 3) {
        return {SendOutcome::Failed, "nessun programma di posta configurato sul desktop"};
    }
    if (run.exitCode != 0) {
        return {SendOutcome::Failed, program_ + " ha risposto con il codice " +
                                         std::to_string(run.exitCode) +
                                         (run.output.empty() ? "" : ": " + firstLine(run.output))};
    }
    return {};
}

SendOutcome MemoryMailTransport::send(const PrintMail& mail, const std::string& message,
                                      const StopCheck& stop) {
    ++attempts_;
    if (stop && stop()) return {SendOutcome::Stopped, "invio interrotto dall'utente"};
    SendOutcome outcome;
    if (!outcomes_.empty()) {
        outcome = outcomes_.front();
        outcomes_.pop_front();
    }
    if (outcome.kind == SendOutcome::Sent) sent_.push_back({mail, message});
    return outcome;
}

}  // namespace tolvane
