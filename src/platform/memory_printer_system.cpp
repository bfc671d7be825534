// A printer system held in memory: the same rules as the real one, without a print server.
// Never touches a print server or a file.
#include "platform/memory_printer_system.h"

#include <algorithm>

#include "platform/printer_media.h"
#include "platform/text.h"

namespace tolvane {

namespace {

std::string keywordOf(const std::string& choice) { return choice.substr(0, choice.find('/')); }

std::vector<PrinterChoice> numbered(const std::vector<std::string>& choices,
                                    std::vector<int> (*numbers)(const std::vector<std::string>&)) {
    std::vector<std::string> keywords;
    for (const auto& choice : choices) keywords.push_back(keywordOf(choice));
    const auto assigned = numbers(keywords);
    std::vector<PrinterChoice> out;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const auto slash = choices[i].find('/');
        out.push_back(
            {assigned[i], slash == std::string::npos ? choices[i] : choices[i].substr(slash + 1)});
    }
    return out;
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
    return entry ? numbered(entry->trays, trayNumbers) : std::vector<PrinterChoice>{};
}

std::vector<PrinterChoice> MemoryPrinterSystem::paperSizes(const std::string& name) {
    const auto* entry = find(name);
    return entry ? numbered(entry->paperSizes, paperNumbers) : std::vector<PrinterChoice>{};
}

int MemoryPrinterSystem::defaultPaperSize(const std::string& name) {
    const auto sizes = paperSizes(name);
    const auto* entry = find(name);
    if (!entry || entry->paperInUse < 1 || entry->paperInUse > static_cast<int>(sizes.size()))
        return -1;
    return sizes[static_cast<std::size_t>(entry->paperInUse) - 1].number;
}

std::vector<std::pair<std::string, std::string>> MemoryPrinterSystem::mediaOptions(
    const std::string& name, int tray, int paper) {
    std::vector<std::pair<std::string, std::string>> options;
    const auto* entry = find(name);
    if (!entry) return options;
    auto add = [&](const char* option, const std::vector<std::string>& choices,
                   const std::vector<PrinterChoice>& numbers, int n) {
        for (std::size_t i = 0; n > 0 && i < numbers.size(); ++i)
            if (numbers[i].number == n) options.emplace_back(option, keywordOf(choices[i]));
    };
    add("InputSlot", entry->trays, trays(name), tray);
    add("PageSize", entry->paperSizes, paperSizes(name), paper);
    return options;
}

}  // namespace tolvane
