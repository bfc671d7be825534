// A private CUPS scheduler for tests: its own folders, programs and Unix socket in a temporary
// folder, stopped with the object or with the test program. Never talks to the machine's own
// print server and never touches the user's lpoptions.
#pragma once

#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/scratch_folder.h"

namespace tolvane::testing {

inline std::string findCupsd() {
    std::vector<std::string> places = {"/usr/sbin/cupsd", "/usr/local/sbin/cupsd", "/sbin/cupsd"};
    if (const char* path = std::getenv("PATH")) {
        std::string rest = path;
        for (std::size_t start = 0; start <= rest.size();) {
            auto end = rest.find(':', start);
            if (end == std::string::npos) end = rest.size();
            places.push_back(rest.substr(start, end - start) + "/cupsd");
            start = end + 1;
        }
    }
    for (const auto& place : places) {
        if (::access(place.c_str(), X_OK) == 0) return place;
    }
    return {};
}

// The scheduler is handed its listening socket ready-made (as a service manager would), so
// clients may connect at once and queue until it accepts; no waiting is needed. Its programs
// are the system's, except the backends, which are only those a test adds.
class PrivateCups {
  public:
    PrivateCups() {
        const auto root = folder_.path().string();
        for (const char* dir :
             {"conf", "spool", "cache", "state", "log", "tmp", "home", "bin/backend"}) {
            std::filesystem::create_directories(folder_.path() / dir);
        }
        std::error_code ignored;
        for (const char* dir : {"daemon", "filter", "notifier"}) {
            std::filesystem::create_directory_symlink(std::filesystem::path("/usr/lib/cups") / dir,
                                                      folder_.path() / "bin" / dir, ignored);
        }
        socket_ = root + "/cups.sock";
        home_ = root + "/home";
        folder_.write("conf/cupsd.conf",
                      "Listen " + socket_ +
                          "\nLogLevel info\nBrowsing No\nWebInterface No\nIdleExitTimeout 300\n"
                          "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                          "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                          "  </Limit>\n</Policy>\n");
        folder_.write("conf/cups-files.conf",
                      "ServerRoot " + root + "/conf\nServerBin " + root + "/bin\nRequestRoot " +
                          root + "/spool\nCacheDir " + root + "/cache\nStateDir " + root +
                          "/state\nTempDir " + root + "/tmp\nAccessLog " + root +
                          "/log/access_log\nErrorLog " + root + "/log/error_log\nPageLog " + root +
                          "/log/page_log\nPrintcap " + root + "/state/printcap\nFileDevice Yes\n");
    }
    ~PrivateCups() { stop(); }
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // A backend of this scheduler only, for device URIs "name:...". A backend that others may
    // not run is run as root by the scheduler, so it reads the spool and writes anywhere here.
    void addBackend(const std::string& name, const std::string& script) const {
        const auto path = folder_.write("bin/backend/" + name, script);
        ::chmod(path.c_str(), 0700);
    }

    // "" when the scheduler runs, else what went wrong.
    std::string start() {
        const auto cupsd = findCupsd();
        if (cupsd.empty()) {
            return "cupsd is not installed: scripts/setup installs it (Debian package "
                   "cups-daemon)";
        }
        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (listener < 0 || socket_.size() >= sizeof address.sun_path) return "socket";
        std::strcpy(address.sun_path, socket_.c_str());
        if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, 64) != 0) {
            ::close(listener);
            return "cannot listen on " + socket_;
        }
        const auto conf = folder_.file("conf/cupsd.conf");
        const auto files = folder_.file("conf/cups-files.conf");
        const auto output = folder_.file("log/output");
        std::vector<std::string> env = {"LISTEN_FDS=1", "LISTEN_PID=", "HOME=" + home_,
                                        "PATH=/usr/sbin:/usr/bin:/sbin:/bin"};
        std::vector<char*> argv = {const_cast<char*>("cupsd"),
                                   const_cast<char*>("-l"),
                                   const_cast<char*>("-c"),
                                   const_cast<char*>(conf.c_str()),
                                   const_cast<char*>("-s"),
                                   const_cast<char*>(files.c_str()),
                                   nullptr};
        env[1].resize(40, '\0');
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);

        pid_ = ::fork();
        if (pid_ == 0) {
            // Only async-signal-safe calls until exec. A test program that dies takes its
            // scheduler with it.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            char* pidText = envp[1] + std::strlen("LISTEN_PID=");
            char digits[20];
            int n = 0;
            for (pid_t p = ::getpid(); p > 0; p /= 10)
                digits[n++] = static_cast<char>('0' + p % 10);
            while (n > 0) *pidText++ = digits[--n];
            *pidText = '\0';
            const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out >= 0) {
                ::dup2(out, 1);
                ::dup2(out, 2);
            }
            if (listener == 3) {
                ::fcntl(3, F_SETFD, 0);
            } else {
                ::dup2(listener, 3);
            }
            ::execve(cupsd.c_str(), argv.data(), envp.data());
            ::_exit(127);
        }
        // Only the scheduler keeps the socket: should it die, clients are refused, not left
        // waiting.
        ::close(listener);
        if (pid_ < 0) return "fork";
        return {};
    }

    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

    // Runs a CUPS client program against this scheduler; its exit code, output in out.
    int run(const std::vector<std::string>& args, std::string& out) const {
        const auto output = folder_.file("log/client");
        std::string command = "env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME='" + home_ +
                              "' CUPS_SERVER='" + socket_ + "'";
        for (const auto& arg : args) command += " '" + arg + "'";
        command += " >'" + output + "' 2>&1";
        const int status = std::system(command.c_str());
        out = ScratchFolder::read(output);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string log() const {
        return ScratchFolder::read(folder_.file("log/output")) +
               ScratchFolder::read(folder_.file("log/error_log"));
    }

    const ScratchFolder& folder() const { return folder_; }
    const std::string& socket() const { return socket_; }
    // A connection to this scheduler, bounded to a few seconds; null when it cannot be reached.
    std::unique_ptr<http_t, void (*)(http_t*)> connect() const {
        return {httpConnect2(socket_.c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 5000,
                             nullptr),
                httpClose};
    }
    // The queue's jobs, finished ones too, as id and state.
    std::vector<std::pair<int, ipp_jstate_t>> jobs(const std::string& queue) const {
        std::vector<std::pair<int, ipp_jstate_t>> out;
        auto http = connect();
        cups_job_t* list = nullptr;
        const int count =
            http ? cupsGetJobs2(http.get(), &list, queue.c_str(), 0, CUPS_WHICHJOBS_ALL) : 0;
        for (int i = 0; i < count; ++i) out.emplace_back(list[i].id, list[i].state);
        cupsFreeJobs(count, list);
        return out;
    }
    std::string lpoptions() const { return home_ + "/.cups/lpoptions"; }

  private:
    ScratchFolder folder_;
    std::string socket_;
    std::string home_;
    pid_t pid_ = -1;
};

// A print server that takes every connection and never answers: a listening socket on which
// nobody accepts, so that what a client writes stays in its buffers until they are full.
class SilentPrintServer {
  public:
    SilentPrintServer() : socket_(folder_.file("muto.sock")) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socket_.c_str(), sizeof address.sun_path - 1);
        if (fd_ >= 0 && (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
                         ::listen(fd_, 128) != 0)) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~SilentPrintServer() {
        for (const int taken : taken_) ::close(taken);
        if (fd_ >= 0) ::close(fd_);
    }
    SilentPrintServer(const SilentPrintServer&) = delete;
    SilentPrintServer& operator=(const SilentPrintServer&) = delete;

    bool listening() const { return fd_ >= 0; }
    const std::string& socket() const { return socket_; }

    // How many connections clients have made so far. A client's connect returns once its
    // connection is queued here, so none made before the call is missed; they stay open, unread.
    int connections() {
        for (int taken; fd_ >= 0 && (taken = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
            taken_.push_back(taken);
        return static_cast<int>(taken_.size());
    }

  private:
    ScratchFolder folder_;
    std::string socket_;
    int fd_ = -1;
    std::vector<int> taken_;
};

}  // namespace tolvane::testing
