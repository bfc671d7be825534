// A loopback SMTP server for tests (tests/support/smtp_server.py under /usr/bin/python3), with a
// self-signed certificate for 127.0.0.1 made at start, and the MIME parser it writes with.
// Listens on 127.0.0.1 only; stopped with the object or with the test program.
#pragma once

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/scratch_folder.h"

namespace tolvane::testing {

// An attachment no text encoding carries unchanged: NUL, CR LF, "=", bytes above 127.
inline std::string pdfBytes() {
    std::string bytes = "%PDF-1.4\n";
    for (int i = 0; i < 600; ++i) bytes += static_cast<char>((i * 37) % 256);
    return bytes + "\r\n=";
}

inline std::string smtpHelperScript() {
    return std::string(TOLVANE_SOURCE_DIR) + "/tests/support/smtp_server.py";
}

// A socket listening on 127.0.0.1 at a free port.
inline int loopbackListener(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("loopback socket");
    }
    port = ntohs(address.sin_port);
    return fd;
}

// A loopback port where nothing listens.
inline int closedPort() {
    int port = 0;
    ::close(loopbackListener(port));
    return port;
}

// Parses a message file into folder, one file per part (see smtp_server.py).
inline bool parseMessage(const std::string& file, const std::string& folder) {
    const std::string command = "timeout 10 /usr/bin/python3 '" + smtpHelperScript() + "' parse '" +
                                file + "' '" + folder + "'";
    return std::system(command.c_str()) == 0;
}

class PrivateSmtp {
  public:
    // mode: "plain", "starttls", "implicit", or a server that misbehaves: "slow",
    // "silent-after-data", "garbage" (see smtp_server.py).
    explicit PrivateSmtp(const std::string& mode) {
        const std::string certificate = folder_.file("cert.pem");
        const std::string key = folder_.file("key.pem");
        const std::string make =
            "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
            "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
            key + "' -out '" + certificate + "' >/dev/null 2>&1";
        if (std::system(make.c_str()) != 0) throw std::runtime_error("openssl req");
        std::filesystem::create_directories(folder_.file("received"));
        const int listener = loopbackListener(port_);
        const std::string script = smtpHelperScript();
        const std::string received = folder_.file("received");
        const std::string log = folder_.file("server.log");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (listener == 3) {
                ::fcntl(3, F_SETFD, 0);
            } else {
                ::dup2(listener, 3);
            }
            const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out >= 0) {
                ::dup2(out, 1);
                ::dup2(out, 2);
            }
            ::execl("/usr/bin/python3", "python3", script.c_str(), "serve", mode.c_str(),
                    certificate.c_str(), key.c_str(), received.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(listener);
        if (pid_ < 0) throw std::runtime_error("fork");
    }
    ~PrivateSmtp() {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    PrivateSmtp(const PrivateSmtp&) = delete;
    PrivateSmtp& operator=(const PrivateSmtp&) = delete;

    int port() const { return port_; }
    std::string certificate() const { return folder_.file("cert.pem"); }
    // Messages received so far.
    int count() const {
        int n = 0;
        while (std::filesystem::exists(folder_.file("received/" + std::to_string(n + 1)))) ++n;
        return n;
    }
    // A part of message n (from 1), "" when it has none.
    std::string received(int n, const std::string& part) const {
        return ScratchFolder::read(folder_.file("received/" + std::to_string(n) + "/" + part));
    }
    std::string log() const { return ScratchFolder::read(folder_.file("server.log")); }
    // What a server that misbehaves was told so far: each command's verb and "." for the end of a
    // message, one a line.
    std::string commands() const { return ScratchFolder::read(folder_.file("commands")); }

  private:
    ScratchFolder folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace tolvane::testing
