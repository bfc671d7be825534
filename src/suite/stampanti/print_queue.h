// The way out of a finished print file to a printer: a job handed to the print server, or, for
// tests and runs without a server, recorded in memory. Never lays anything out and never shows
// a message: the caller reports a refused job.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/print_server_waits.h"

namespace tolvane {

struct PrintJob {
    std::string printer;  // queue name
    std::string file;     // a PostScript or raw text file
    std::string title;
    bool raw = false;  // the file goes to the device as it is (fixed-format prints)
    std::vector<std::pair<std::string, std::string>> options;
};

// What became of a job handed over.
enum class Submitted { Accepted, Refused, Stopped };

class PrintQueue {
  public:
    virtual ~PrintQueue() = default;
    // Hands the job over. Refused: error holds what the user is told, in Italian, naming the
    // printer; Stopped: the running print's stop gave up the wait on the server. The file may
    // be deleted once this returns.
    virtual Submitted submit(const PrintJob& job, std::string& error) = 0;
};

// The print server's queues. server: a Unix socket path, "host" or "host:port"; "" the server
// the client is configured for. The connection and the answer are each awaited at most
// timeoutSeconds, with the waits of the running print (PrintServerWaits).
class CupsPrintQueue final : public PrintQueue {
  public:
    explicit CupsPrintQueue(std::string server = {},
                            int timeoutSeconds = kPrintServerTimeoutSeconds)
        : server_(std::move(server)), timeoutSeconds_(timeoutSeconds) {}
    Submitted submit(const PrintJob& job, std::string& error) override;

  private:
    std::string server_;
    int timeoutSeconds_;
};

// Records every job with the content its file had when it was submitted.
class MemoryPrintQueue final : public PrintQueue {
  public:
    struct Recorded {
        PrintJob job;
        std::string content;
    };
    Submitted submit(const PrintJob& job, std::string& error) override;
    const std::vector<Recorded>& jobs() const { return jobs_; }
    // A queue that refuses every job with this reason ("" accepts again).
    void refuseWith(std::string reason) { refusal_ = std::move(reason); }

  private:
    std::vector<Recorded> jobs_;
    std::string refusal_;
};

// What the user is told of a print server that does not answer, named as cupsServerName names it
// (PrinterSystem::silentServer).
std::string silentServerText(const std::string& serverName);

// The program-wide queue; until one is installed, the configured print server's.
PrintQueue& printQueue();
// Installs the queue the program uses; returns the previous one.
std::shared_ptr<PrintQueue> setPrintQueue(std::shared_ptr<PrintQueue> queue);

}  // namespace tolvane
