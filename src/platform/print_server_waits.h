// The waits on print servers: how long one may last, what is asked and shown meanwhile, and the
// servers that are not waited for again for a while. Never reaches a server itself: the
// connections ask it (cups_connection.h).
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace tolvane {

// The longest the program waits for a print server to take a connection or to answer.
constexpr int kPrintServerTimeoutSeconds = 20;

// A server that kept the program waiting to the limit is not waited for again for a minute, in a
// print or outside one: opening a print dialog, choosing in it and printing would otherwise each
// wait the limit anew, and a user goes through those steps within a minute. A server that comes
// back is asked again at the first try after it.
constexpr int kSilentServerPauseSeconds = 60;

// True while the server is in that pause, or found silent by the running print: a wait on it
// ends at once.
bool printServerSilent(const std::string& server);
// For the connections: the server kept the program waiting to the limit.
void printServerWentSilent(const std::string& server);
// For tests: the pauses run as if that much more time had passed.
void passPrintServerTime(std::chrono::seconds elapsed);

// What the user is shown while a print server keeps the program waiting: called with true once
// a wait has lasted a moment, with false when it is over. The window model installs it.
void setPrintServerWaitShown(std::function<void(bool waiting)> shown);
void showPrintServerWait(bool waiting);

// While one lives, every wait on a print server asks `stop` several times a second (it may let
// the user's events through; true gives the wait up), and a server that did not answer in time is
// not waited for again, however long the print. A print makes one for its length; one made while
// another lives leaves the waits to that one.
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

    // For the connections: asks the stop; gives up a wait on a server found silent, and on it
    // for the rest of the print.
    bool stopAsked();
    void serverSilent(const std::string& server);

  private:
    std::function<bool()> stop_;
    bool gaveUp_ = false;
    bool joined_;
};

}  // namespace tolvane
