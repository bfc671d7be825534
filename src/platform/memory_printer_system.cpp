// A printer system held in memory: the same rules as the real one, without a print server.
// Never touches a print server or a file.
#include "platform/memory_printer_system.h"

#include <algorithm>

#include "platform/text.h"

namespace tolvane {

namespace {

std::vector<PrinterChoice> numbered(const std::vector<std::string>& names) {
    std::vector<PrinterChoice> choices;
    for (const auto& name : names) {
        choices.push_back({static_cast<int>(choices.size()) + 1, name});
    }
    return choices;
}

}  // namespace

void MemoryPrinterSystem::removePrinter(const std::string& name) {
    std::erase_if(entries_, [&](const Entry& e) { return equalText(e.info.name, name); });
}

const MemoryPrinterSystem::Entry* MemoryPrinterSystem::find(const std::string& name) const {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return equalText(e.info.name, name); });
    return it == entries_.end() ? nullptr : &*it;
}

std::vector<PrinterInfo> MemoryPrinterSystem::printers() {
    std::vector<PrinterInfo> list;
    for (const auto& entry : entries_) list.push_back(entry.info);
    return list;
}

std::string MemoryPrinterSystem::defaultPrinter() {
    return userDefault_.empty() ? serverDefault_ : userDefault_;
}

bool MemoryPrinterSystem::setUserDefault(const std::string& name) {
    if (refuseUserDefault_) return false;
    userDefault_ = name;
    ++userDefaultWrites_;
    return true;
}

std::vector<PrinterChoice> MemoryPrinterSystem::trays(const std::string& name) {
    const auto* entry = find(name);
    return entry ? numbered(entry->trays) : std::vector<PrinterChoice>{};
}

std::vector<PrinterChoice> MemoryPrinterSystem::paperSizes(const std::string& name) {
    const auto* entry = find(name);
    return entry ? numbered(entry->paperSizes) : std::vector<PrinterChoice>{};
}

int MemoryPrinterSystem::defaultPaperSize(const std::string& name) {
    const auto* entry = find(name);
    return entry ? entry->defaultPaperSize : -1;
}

std::vector<std::pair<std::string, std::string>> MemoryPrinterSystem::mediaOptions(
    const std::string& name, int tray, int paper) {
    std::vector<std::pair<std::string, std::string>> options;
    const auto* entry = find(name);
    if (!entry) return options;
    if (tray >= 1 && tray <= static_cast<int>(entry->trays.size()))
        options.emplace_back("InputSlot", entry->trays[static_cast<std::size_t>(tray) - 1]);
    if (paper >= 1 && paper <= static_cast<int>(entry->paperSizes.size()))
        options.emplace_back("PageSize", entry->paperSizes[static_cast<std::size_t>(paper) - 1]);
    return options;
}

}  // namespace tolvane
