// The program-wide printer system and the program's current printer.
// Never reaches a print server by itself: the system in use is whatever was installed.
#include "platform/printer_system.h"

#include "platform/text.h"

namespace tolvane {

namespace {

class NoPrinters final : public PrinterSystem {
  public:
    std::vector<PrinterInfo> printers() override { return {}; }
    std::string defaultPrinter() override { return {}; }
    std::string userDefault() override { return {}; }
    bool setUserDefault(const std::string&) override { return false; }
    std::vector<PrinterChoice> trays(const std::string&) override { return {}; }
    std::vector<PrinterChoice> paperSizes(const std::string&) override { return {}; }
    int defaultPaperSize(const std::string&) override { return -1; }
    std::vector<std::pair<std::string, std::string>> mediaOptions(const std::string&, int,
                                                                  int) override {
        return {};
    }
};

std::shared_ptr<PrinterSystem>& installed() {
    static std::shared_ptr<PrinterSystem> system = std::make_shared<NoPrinters>();
    return system;
}

}  // namespace

PrinterSystem& printerSystem() { return *installed(); }

std::shared_ptr<PrinterSystem> setPrinterSystem(std::shared_ptr<PrinterSystem> system) {
    if (!system) system = std::make_shared<NoPrinters>();
    installed().swap(system);
    Printer().followDefault();
    return system;
}

std::unique_ptr<PrinterInfo> findPrinter(PrinterSystem& system, const std::string& name) {
    for (auto& printer : system.printers()) {
        if (equalText(printer.name, name)) return std::make_unique<PrinterInfo>(std::move(printer));
    }
    return nullptr;
}

std::vector<PrinterInfo> printersAt(PrinterSystem& system, const std::string& port) {
    const std::vector<PrinterInfo> installed = system.printers();
    for (std::string PrinterInfo::*field :
         {&PrinterInfo::port, &PrinterInfo::name, &PrinterInfo::device}) {
        std::vector<PrinterInfo> found;
        for (const PrinterInfo& printer : installed) {
            if (!port.empty() && equalText(printer.*field, port)) found.push_back(printer);
        }
        if (!found.empty()) return found;
    }
    return {};
}

PrinterInfo CurrentPrinter::resolved() const {
    if (chosen_) return *chosen_;
    auto& system = printerSystem();
    auto printer = findPrinter(system, system.defaultPrinter());
    return printer ? *printer : PrinterInfo{};
}

std::string CurrentPrinter::DeviceName() const { return resolved().name; }
std::string CurrentPrinter::Port() const { return resolved().port; }

int CurrentPrinter::PaperSize() const {
    const auto name = DeviceName();
    return name.empty() ? -1 : printerSystem().defaultPaperSize(name);
}

void CurrentPrinter::choose(const PrinterInfo& printer) {
    chosen_ = std::make_unique<PrinterInfo>(printer);
}

void CurrentPrinter::followDefault() { chosen_.reset(); }

CurrentPrinter& Printer() {
    static CurrentPrinter printer;
    return printer;
}

}  // namespace tolvane
