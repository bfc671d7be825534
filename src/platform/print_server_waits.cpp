// The waits of the running print, found by the connections through one program-wide pointer.
#include "platform/print_server_waits.h"

#include <utility>

namespace tolvane {

namespace {

PrintServerWaits*& currentWaits() {
    static PrintServerWaits* waits = nullptr;
    return waits;
}

}  // namespace

PrintServerWaits::PrintServerWaits(std::function<bool()> stop)
    : stop_(std::move(stop)), joined_(currentWaits() != nullptr) {
    if (!joined_) currentWaits() = this;
}

PrintServerWaits::~PrintServerWaits() {
    if (!joined_) currentWaits() = nullptr;
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
    if (!silentBefore(server)) silent_.push_back(server);
}

bool PrintServerWaits::silentBefore(const std::string& server) const {
    for (const std::string& silent : silent_) {
        if (silent == server) return true;
    }
    return false;
}

}  // namespace tolvane
