// Bounded waits on a CUPS print server. The connection is made by a thread of its own, since
// libcups's connect waits without asking anyone; a connection given up is closed by that thread.
// Every later wait is libcups's, in steps of a tenth of a second, each followed by onWait. A wait
// is shown from its first step on, so that an answer that comes at once shows nothing.
#include "platform/cups_connection.h"

#include <unistd.h>

#include <charconv>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/scope_guard.h"
#include "platform/text.h"

namespace tolvane {

namespace {

constexpr std::chrono::milliseconds kStep{100};

// What the connecting thread hands over, or closes itself when no one waits for it any more.
struct Connecting {
    std::mutex mutex;
    std::condition_variable done_cv;
    bool done = false;
    bool abandoned = false;
    http_t* http = nullptr;
};

}  // namespace

void cupsServerAddress(const std::string& server, std::string& host, int& port) {
    host = server.empty() ? std::string(cupsServer()) : server;
    port = ippPort();
    if (!host.empty() && host.front() != '/') {
        const auto colon = host.rfind(':');
        if (colon != std::string::npos && colon + 1 < host.size() &&
            host.find_first_not_of("0123456789", colon + 1) == std::string::npos) {
            int given = 0;
            std::from_chars(host.data() + colon + 1, host.data() + host.size(), given);
            if (given > 0 && given <= 65535) port = given;
            host.erase(colon);
        }
    }
}

bool cupsHostIsLocal(const std::string& host) {
    return host.empty() || host.front() == '/' || equalText(host, "localhost") ||
           host == "127.0.0.1" || host == "::1";
}

std::string cupsPrinterResource(const std::string& name) {
    return "/printers/" + percentEncoded(name, "-._~");
}

std::string cupsServerName(const std::string& server) {
    std::string host;
    int port = 0;
    cupsServerAddress(server, host, port);
    return cupsHostIsLocal(host) ? "di questo computer" : host;
}

CupsConnection::CupsConnection(const std::string& server, int timeoutSeconds)
    : server_(server), limit_(std::chrono::seconds(timeoutSeconds)) {
    std::string host;
    int port = 0;
    cupsServerAddress(server_, host, port);
    if (printServerSilent(server_)) {
        failure_ = Failure::Silent;
        if (PrintServerWaits* waits = PrintServerWaits::current()) waits->serverSilent(server_);
        return;
    }
    connect(host, port);
    if (stopFailure_) std::rethrow_exception(stopFailure_);
    if (http_) httpSetTimeout(http_.get(), kStep.count() / 1000.0, onWait, this);
}

CupsConnection::~CupsConnection() = default;

void CupsConnection::connect(const std::string& host, int port) {
    const ScopeGuard shown([this] { waitOver(); });
    auto connecting = std::make_shared<Connecting>();
    const http_encryption_t encryption = cupsEncryption();
    const int msec = static_cast<int>(limit_.count());
    std::thread([connecting, host, port, encryption, msec] {
        http_t* http =
            httpConnect2(host.c_str(), port, nullptr, AF_UNSPEC, encryption, 1, msec, nullptr);
        std::lock_guard lock(connecting->mutex);
        if (connecting->abandoned) {
            httpClose(http);
        } else {
            connecting->http = http;
        }
        connecting->done = true;
        connecting->done_cv.notify_all();
    }).detach();

    answered();
    std::unique_lock lock(connecting->mutex);
    while (!connecting->done_cv.wait_for(lock, kStep, [&] { return connecting->done; })) {
        lock.unlock();
        const bool keep = keepWaiting();
        lock.lock();
        if (keep) continue;
        // A connection made meanwhile is not used either: the wait was given up.
        if (connecting->done) {
            httpClose(connecting->http);
        } else {
            connecting->abandoned = true;
        }
        return;
    }
    http_.reset(connecting->http);
    if (http_) return;
    // libcups gives up its connect at the same limit.
    if (std::chrono::steady_clock::now() - since_ < limit_) {
        failure_ = Failure::Unreachable;
    } else {
        wentSilent();
    }
}

int CupsConnection::onWait(http_t*, void* self) {
    return static_cast<CupsConnection*>(self)->keepWaiting() ? 1 : 0;
}

// Runs inside libcups: nothing may leave it by an exception.
bool CupsConnection::keepWaiting() {
    if (failure_ != Failure::None) return false;
    PrintServerWaits* waits = PrintServerWaits::current();
    bool stop = false;
    try {
        if (!waitShown_) {
            waitShown_ = true;
            showPrintServerWait(true);
        }
        stop = waits != nullptr && waits->stopAsked();
    } catch (...) {
        stopFailure_ = std::current_exception();
        stop = true;
    }
    if (stop) {
        failure_ = Failure::Stopped;
        return false;
    }
    if (std::chrono::steady_clock::now() - since_ >= limit_) {
        wentSilent();
        return false;
    }
    return true;
}

void CupsConnection::wentSilent() {
    failure_ = Failure::Silent;
    printServerWentSilent(server_);
    if (PrintServerWaits* waits = PrintServerWaits::current()) waits->serverSilent(server_);
}

void CupsConnection::waitOver() {
    if (!waitShown_) return;
    waitShown_ = false;
    showPrintServerWait(false);
}

void CupsConnection::answered() { since_ = std::chrono::steady_clock::now(); }

Ipp CupsConnection::received(ipp_t* response) {
    Ipp owned(response);
    if (stopFailure_) std::rethrow_exception(stopFailure_);
    if (failure_ != Failure::None) return nullptr;
    if (!owned) failure_ = Failure::Broken;
    return owned;
}

Ipp CupsConnection::ask(ipp_t* request, const char* resource) {
    const ScopeGuard shown([this] { waitOver(); });
    if (!http_ || failure_ != Failure::None) {
        ippDelete(request);
        return nullptr;
    }
    answered();
    return received(cupsDoRequest(http_.get(), request, resource));
}

Ipp CupsConnection::ask(ipp_t* request, const char* resource, int fd, std::size_t length) {
    const Ipp owned(request);
    const ScopeGuard shown([this] { waitOver(); });
    if (!http_ || failure_ != Failure::None) return nullptr;
    answered();
    // The length announced is the whole body: the request, then the document.
    http_status_t status =
        cupsSendRequest(http_.get(), request, resource, ippLength(request) + length);
    char buffer[65536];
    for (std::size_t sent = 0; status == HTTP_STATUS_CONTINUE && sent < length;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            // The server gets less than announced and drops the request.
            failure_ = Failure::Broken;
            return nullptr;
        }
        answered();
        status = cupsWriteRequestData(http_.get(), buffer, static_cast<std::size_t>(n));
        sent += static_cast<std::size_t>(n);
    }
    // A server may answer before it has read the whole document.
    if (status == HTTP_STATUS_ERROR) return received(nullptr);
    answered();
    return received(cupsGetResponse(http_.get(), resource));
}

http_status_t CupsConnection::getFile(const char* resource, int fd) {
    const ScopeGuard shown([this] { waitOver(); });
    if (!http_ || failure_ != Failure::None) return HTTP_STATUS_ERROR;
    answered();
    const http_status_t status = cupsGetFd(http_.get(), resource, fd);
    if (stopFailure_) std::rethrow_exception(stopFailure_);
    return failure_ == Failure::None ? status : HTTP_STATUS_ERROR;
}

}  // namespace tolvane
