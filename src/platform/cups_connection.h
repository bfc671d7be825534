// A connection to a CUPS print server that never keeps the program waiting on it longer than its
// limit, for the connection or for any answer, that asks the running print's stop and shows the
// wait meanwhile, and that does not wait on a server found silent a moment ago.
// Never shows a message: a failure is told by its kind.
#pragma once

#include <cups/cups.h>

#include <chrono>
#include <cstddef>
#include <exception>
#include <memory>
#include <string>

#include "platform/print_server_waits.h"

namespace tolvane {

struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDelete>;

// Where a server given as a Unix socket path, "host" or "host:port" is reached ("" the server
// the client is configured for); the port is the IPP port unless the text names one.
void cupsServerAddress(const std::string& server, std::string& host, int& port);
// True for a host of this machine, as cupsServerAddress gives it: a Unix socket path (or none),
// "localhost" or a loopback address.
bool cupsHostIsLocal(const std::string& host);
// A queue's resource on its server: "/printers/NAME", the name percent-encoded.
std::string cupsPrinterResource(const std::string& name);
// The server as a message names it: its host, or "di questo computer" for a server on this
// machine.
std::string cupsServerName(const std::string& server);

class CupsConnection {
  public:
    enum class Failure {
        None,
        Unreachable,  // refused, unknown or no route
        Silent,       // took no connection, or gave no answer, within the limit (now or lately)
        Stopped,      // the running print's stop gave the wait up
        Broken,       // the connection failed otherwise: no answer came
    };

    // Connects at once; http() is nullptr, and failure() says why, when it could not.
    explicit CupsConnection(const std::string& server,
                            int timeoutSeconds = kPrintServerTimeoutSeconds);
    ~CupsConnection();
    CupsConnection(const CupsConnection&) = delete;
    CupsConnection& operator=(const CupsConnection&) = delete;

    http_t* http() const { return http_.get(); }
    Failure failure() const { return failure_; }
    // The request's answer when the server gave one (any status); nullptr, and failure() says
    // why, otherwise. Takes the request. A failure of the stop check is raised once libcups is
    // left, as from the other calls.
    Ipp ask(ipp_t* request, const char* resource);
    // The same with the document read from fd (length bytes) after the request.
    Ipp ask(ipp_t* request, const char* resource, int fd, std::size_t length);
    // A file of the server into fd.
    http_status_t getFile(const char* resource, int fd);

  private:
    struct HttpClose {
        void operator()(http_t* http) const { httpClose(http); }
    };
    static int onWait(http_t* http, void* self);
    bool keepWaiting();
    void wentSilent();
    // Ends the showing of a wait that lasted.
    void waitOver();
    void connect(const std::string& host, int port);
    // Starts the limit again for the next answer; each part of an upload counts as one.
    void answered();
    // The answer once libcups is left: nullptr after a failure, which it records.
    Ipp received(ipp_t* response);

    std::string server_;
    std::chrono::milliseconds limit_;
    std::unique_ptr<http_t, HttpClose> http_;
    Failure failure_ = Failure::None;
    std::chrono::steady_clock::time_point since_;
    std::exception_ptr stopFailure_;
    bool waitShown_ = false;
};

}  // namespace tolvane
