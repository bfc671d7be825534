// The waits of a running print on print servers: how long one may last, and what is asked
// meanwhile. Never reaches a server itself: the connections ask it (cups_connection.h).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tolvane {

// The longest the program waits for a print server to take a connection or to answer.
constexpr int kPrintServerTimeoutSeconds = 20;

// While one lives, every wait on a print server asks `stop` several times a second (it may let
// the user's events through; true gives the wait up), and a server that did not answer in time is
// not waited for again. A print makes one for its length; one made while another lives leaves
// the waits to that one.
class PrintServerWaits {
  public:
    explicit PrintServerWaits(std::function<bool()> stop);
    ~PrintServerWaits();
    PrintServerWaits(const PrintServerWaits&) = delete;
    PrintServerWaits& operator=(const PrintServerWaits&) = delete;

    // The waits of the running print; nullptr when none runs.
    static PrintServerWaits* current();
    // True once a wait of the running print was given up: a server did not answer in time, or
    // the stop said so.
    bool gaveUp() const;

    // For the connections: asks the stop; remembers a server that did not answer.
    bool stopAsked();
    void serverSilent(const std::string& server);
    bool silentBefore(const std::string& server) const;

  private:
    std::function<bool()> stop_;
    std::vector<std::string> silent_;
    bool gaveUp_ = false;
    bool joined_;
};

}  // namespace tolvane
