// The waits of the running print, found by the connections through one program-wide pointer, and
// the program-wide record of the servers found silent.
#include "platform/print_server_waits.h"

#include <algorithm>
#include <utility>

namespace tolvane {

namespace {

PrintServerWaits*& currentWaits() {
    static PrintServerWaits* waits = nullptr;
    return waits;
}

struct SilentServer {
    std::string server;
    std::chrono::steady_clock::time_point since;
    bool inPrint = false;  // found silent by the running print: silent until it ends
};

std::vector<SilentServer>& silentServers() {
    static std::vector<SilentServer> servers;
    return servers;
}

std::chrono::seconds& timePassed() {
    static std::chrono::seconds passed{0};
    return passed;
}

std::chrono::steady_clock::time_point now() {
    return std::chrono::steady_clock::now() + timePassed();
}

std::function<void(bool)>& waitShown() {
    static std::function<void(bool)> shown;
    return shown;
}

}  // namespace

bool printServerSilent(const std::string& server) {
    auto& servers = silentServers();
    const auto found = std::find_if(servers.begin(), servers.end(),
                                    [&](const SilentServer& s) { return s.server == server; });
    if (found == servers.end()) return false;
    if (found->inPrint || now() - found->since < std::chrono::seconds(kSilentServerPauseSeconds))
        return true;
    servers.erase(found);
    return false;
}

void printServerWentSilent(const std::string& server) {
    auto& servers = silentServers();
    for (SilentServer& s : servers) {
        if (s.server != server) continue;
        s.since = now();
        return;
    }
    servers.push_back({server, now()});
}

void passPrintServerTime(std::chrono::seconds elapsed) { timePassed() += elapsed; }

void setPrintServerWaitShown(std::function<void(bool)> shown) { waitShown() = std::move(shown); }

void showPrintServerWait(bool waiting) {
    if (waitShown()) waitShown()(waiting);
}

PrintServerWaits::PrintServerWaits(std::function<bool()> stop)
    : stop_(std::move(stop)), joined_(currentWaits() != nullptr) {
    if (!joined_) currentWaits() = this;
}

PrintServerWaits::~PrintServerWaits() {
    if (joined_) return;
    currentWaits() = nullptr;
    for (SilentServer& s : silentServers()) s.inPrint = false;
}

PrintServerWaits* PrintServerWaits::current() { return currentWaits(); }

bool PrintServerWaits::gaveUp() const { return joined_ ? currentWaits()->gaveUp() : gaveUp_; }

bool PrintServerWaits::stopAsked() {
    if (!stop_ || !stop_()) return false;
    gaveUp_ = true;
    return true;
}

void PrintServerWaits::serverSilent(const std::string& server) {
    gaveUp_ = true;
    for (SilentServer& s : silentServers()) {
        if (s.server == server) s.inPrint = true;
    }
}

}  // namespace tolvane
