// The printer system over a CUPS print server: its queues, the user's lpoptions default, and
// the trays and paper sizes of each queue's PPD (or its IPP media lists when it has no PPD).
// Never changes the server's default nor its queues: the only thing it writes is the user's
// lpoptions file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/cups_connection.h"
#include "platform/printer_system.h"

namespace tolvane {

class CupsPrinterSystem final : public PrinterSystem {
  public:
    // server: a Unix socket path, "host" or "host:port"; "" the server the client is configured
    // for. lpoptionsFile: "" the user's $HOME/.cups/lpoptions. A server that does not answer
    // within timeoutSeconds lists nothing.
    explicit CupsPrinterSystem(std::string server = {}, std::string lpoptionsFile = {},
                               int timeoutSeconds = kPrintServerTimeoutSeconds);

    std::vector<PrinterInfo> printers() override;
    std::string defaultPrinter() override;
    std::string userDefault() override;
    bool setUserDefault(const std::string& name) override;
    std::vector<PrinterChoice> trays(const std::string& name) override;
    std::vector<PrinterChoice> paperSizes(const std::string& name) override;
    int defaultPaperSize(const std::string& name) override;
    // The PPD's "InputSlot" and "PageSize" choice keywords; for a queue without a PPD, its IPP
    // "media-source" and "media" values.
    std::vector<std::pair<std::string, std::string>> mediaOptions(const std::string& name, int tray,
                                                                  int paper) override;
    std::string silentServer() override;

  private:
    struct Media {
        std::vector<PrinterChoice> trays;
        std::vector<PrinterChoice> paperSizes;
        int defaultPaperSize = -1;
        // What the server is told for each choice, under which option name.
        std::string trayOption;
        std::string paperOption;
        std::vector<std::string> trayKeywords;
        std::vector<std::string> paperKeywords;
    };
    Media media(const std::string& name);
    std::string serverDefault();

    std::string server_;
    std::string lpoptionsFile_;
    int timeoutSeconds_;
};

// A queue's own address, its port: "ipp://localhost/printers/NAME" on a server of this machine
// (a Unix socket path, "localhost", a loopback address), else "ipp://HOST/printers/NAME"; the
// port number is added when it is not the IPP port, the name is percent-encoded.
std::string cupsQueueAddress(const std::string& server, const std::string& name);

// The trays and paper sizes a PPD offers: its "InputSlot" and "PageSize" choices in file order,
// numbered by their keywords (printer_media.h), named by their translation text (the keyword
// when there is none), and the number of its "DefaultPageSize" (-1 when it names no choice).
struct PpdMedia {
    std::vector<PrinterChoice> trays;
    std::vector<PrinterChoice> paperSizes;
    int defaultPaperSize = -1;
    // The choice keywords, side by side with trays and paperSizes.
    std::vector<std::string> trayKeywords;
    std::vector<std::string> paperKeywords;
};
PpdMedia readPpdMedia(std::string_view ppd);

// The printer named by the "Default" line of an lpoptions text (without its instance);
// "" when there is none.
std::string lpoptionsDefault(std::string_view lpoptions);
// The lpoptions text with name as its default ("" for none): the options of every printer are
// kept, the old default's line becoming an ordinary "Dest" line.
std::string lpoptionsWithDefault(std::string_view lpoptions, const std::string& name);

}  // namespace tolvane
