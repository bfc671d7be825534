// Another program on a database file, in a process of its own (tests/support/other_program.py
// under /usr/bin/python3, SQLite's own busy wait of 5 s): one that keeps the file open, or one
// that commits a statement every millisecond. Stopped with the object or with the test program.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace tolvane::testing {

class OtherProcess {
  public:
    // Returns once the program has the file open (and has tried its statement once).
    explicit OtherProcess(const std::string& file, const std::string& statement = "") {
        int toChild[2], fromChild[2];
        if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        const std::string script =
            std::string(TOLVANE_SOURCE_DIR) + "/tests/support/other_program.py";
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            ::dup2(toChild[0], 0);
            ::dup2(fromChild[1], 1);
            // Without a statement the list of arguments ends after the file.
            ::execl("/usr/bin/python3", "python3", script.c_str(), file.c_str(),
                    statement.empty() ? nullptr : statement.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        input_ = toChild[1];
        output_ = ::fdopen(fromChild[0], "r");
        if (pid_ < 0 || readLine() != "ready") {
            stop();
            throw std::runtime_error("other program on " + file + " did not start");
        }
    }
    ~OtherProcess() { stop(); }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    struct Writes {
        long commits = -1;
        long refused = -1;
    };
    // Ends the program (it closes its connection) and returns what its writes met.
    Writes stop() {
        if (input_ >= 0) ::close(input_);
        input_ = -1;
        Writes writes;
        if (output_) {
            std::sscanf(readLine().c_str(), "%ld %ld", &writes.commits, &writes.refused);
            std::fclose(output_);
            output_ = nullptr;
        }
        if (pid_ > 0) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        pid_ = -1;
        return writes;
    }

  private:
    std::string readLine() {
        char line[128] = {};
        if (!output_ || !std::fgets(line, sizeof line, output_)) return {};
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }

    pid_t pid_ = -1;
    int input_ = -1;
    std::FILE* output_ = nullptr;
};

}  // namespace tolvane::testing
