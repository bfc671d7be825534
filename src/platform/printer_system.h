// The printers the program may print on, as the printing services see them: installed printers,
// the user's default printer, trays and paper sizes, and the program's current printer.
// Never changes the print server's own default: "making a printer the default" is per user.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tolvane {

// How the desktop notions the printing services were built on map onto a print server:
// - An installed printer is a destination of the print server: its name, the queue's own
//   address as the port (unique, where several queues print on one device), its device URI
//   and its make-and-model as the driver. Instances ("name/instance") are not listed.
// - The user's default printer is the per-user choice (the "Default" line of the user's
//   lpoptions file, as `lpoptions -d` writes it), else the server's default. Making a printer
//   the default writes the per-user choice only.
// - Trays and paper sizes are the printer's "InputSlot" and "PageSize" choices (media-source and
//   media when the printer has no PPD), numbered by what they are (printer_media.h), so that a
//   stored number means the same tray or paper on every queue; 0 means "no choice".
// - The print server does not tell which session of a shared machine a printer belongs to: the
//   program's terminal session setting does.
struct PrinterInfo {
    std::string name;
    std::string port;         // the queue's address
    std::string driver;       // make and model
    std::string device = {};  // device URI: several queues may share one
};

// A tray or a paper size: the number the options store and the name shown to the user.
struct PrinterChoice {
    int number = 0;
    std::string name;
    friend bool operator==(const PrinterChoice&, const PrinterChoice&) = default;
};

class PrinterSystem {
  public:
    virtual ~PrinterSystem() = default;

    // The installed printers, in the server's order. An unreachable server lists none.
    virtual std::vector<PrinterInfo> printers() = 0;

    // The user's default printer: the per-user choice, even when it names a printer that is no
    // longer installed, else the server's default; "" when there is neither.
    virtual std::string defaultPrinter() = 0;
    // The per-user choice alone; "" when the user has made none.
    virtual std::string userDefault() = 0;
    // Makes the named printer the user's default; "" removes the per-user choice, so that the
    // server's default applies again. False when the choice could not be stored.
    virtual bool setUserDefault(const std::string& name) = 0;

    // Trays and paper sizes of a printer in its own order; none for an unknown printer.
    virtual std::vector<PrinterChoice> trays(const std::string& name) = 0;
    virtual std::vector<PrinterChoice> paperSizes(const std::string& name) = 0;
    // The number of the paper size the printer uses when none is chosen; -1 when unknown.
    virtual int defaultPaperSize(const std::string& name) = 0;
    // The job options that print on the tray and the paper size numbered as trays() and
    // paperSizes() number them (0: no choice), under the printer's own keywords; a number the
    // printer does not offer adds none.
    virtual std::vector<std::pair<std::string, std::string>> mediaOptions(const std::string& name,
                                                                          int tray, int paper) = 0;

    // The print server as a message names it ("di questo computer", or its host) while it is not
    // waited for, having kept the program waiting to its limit lately (print_server_waits.h);
    // "" otherwise. The look-ups above then find nothing, at once.
    virtual std::string silentServer() { return {}; }
};

// The program-wide printer system. Until one is installed, a system with no printers.
PrinterSystem& printerSystem();
// Installs the system the program uses (the tests install the in-memory one); returns the
// previous one. Resets the current printer to follow the default.
std::shared_ptr<PrinterSystem> setPrinterSystem(std::shared_ptr<PrinterSystem> system);

// The installed printer of that name, compared without regard to case; nullptr when none.
std::unique_ptr<PrinterInfo> findPrinter(PrinterSystem& system, const std::string& name);
// The installed printers a port names: the one whose port it is, else the one of that name,
// else every one whose device it is (an address stored before ports were the queues' own);
// compared without regard to case. More than one means the address does not say which.
std::vector<PrinterInfo> printersAt(PrinterSystem& system, const std::string& port);

// The program's current printer (the printer object `Printer`): it follows the user's default
// printer until a printer is chosen for it; from then on it stays on that printer.
class CurrentPrinter {
  public:
    // Empty texts when the current printer is the default and there is none installed.
    std::string DeviceName() const;
    std::string Port() const;
    // Number of the paper size the printer uses now; -1 when unknown.
    int PaperSize() const;

    void choose(const PrinterInfo& printer);
    void followDefault();
    bool followsDefault() const { return !chosen_; }

  private:
    PrinterInfo resolved() const;
    std::unique_ptr<PrinterInfo> chosen_;
};

CurrentPrinter& Printer();

}  // namespace tolvane
