// A printer system held in memory, for tests and for running without a print server.
// Never touches a print server or a file.
#pragma once

#include <string>
#include <vector>

#include "platform/printer_system.h"

namespace tolvane {

class MemoryPrinterSystem final : public PrinterSystem {
  public:
    struct Entry {
        PrinterInfo info;
        // Choices as a PPD writes them, "Keyword/Name shown" or the keyword alone, in the
        // printer's order; numbered by their keywords as a print server's are.
        std::vector<std::string> trays;
        std::vector<std::string> paperSizes;
        int paperInUse = 0;  // position from 1 in paperSizes of the paper in use; 0 unknown
    };

    void addPrinter(Entry entry) { entries_.push_back(std::move(entry)); }
    void removePrinter(const std::string& name);
    void setServerDefault(std::string name) { serverDefault_ = std::move(name); }
    // A store that refuses every change of the user's default.
    void refuseUserDefault(bool refuse) { refuseUserDefault_ = refuse; }
    // How many times the user's default was stored.
    int userDefaultWrites() const { return userDefaultWrites_; }

    std::vector<PrinterInfo> printers() override;
    std::string defaultPrinter() override;
    std::string userDefault() override { return userDefault_; }
    bool setUserDefault(const std::string& name) override;
    std::vector<PrinterChoice> trays(const std::string& name) override;
    std::vector<PrinterChoice> paperSizes(const std::string& name) override;
    int defaultPaperSize(const std::string& name) override;
    // "InputSlot" and "PageSize" with the chosen tray's and paper's keywords.
    std::vector<std::pair<std::string, std::string>> mediaOptions(const std::string& name, int tray,
                                                                  int paper) override;

  private:
    const Entry* find(const std::string& name) const;

    std::vector<Entry> entries_;
    std::string serverDefault_;
    std::string userDefault_;
    bool refuseUserDefault_ = false;
    int userDefaultWrites_ = 0;
};

}  // namespace tolvane
