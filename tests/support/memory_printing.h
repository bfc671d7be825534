// Printers and a print queue held in memory, installed for one test and the previous ones put
// back afterwards. Never reaches a print server.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory_printer_system.h"
#include "suite/stampanti/print_queue.h"

namespace tolvane::testing {

class MemoryPrinting {
  public:
    MemoryPrinting()
        : previousPrinters_(setPrinterSystem(printers)), previousQueue_(setPrintQueue(queue)) {}
    ~MemoryPrinting() {
        setPrintQueue(previousQueue_);
        setPrinterSystem(previousPrinters_);
    }
    MemoryPrinting(const MemoryPrinting&) = delete;
    MemoryPrinting& operator=(const MemoryPrinting&) = delete;

    // Trays and papers as a PPD writes them ("Keyword/Name shown"); paperInUse counts from 1.
    void addPrinter(const std::string& name, const std::string& port,
                    std::vector<std::string> trays = {}, std::vector<std::string> papers = {},
                    int paperInUse = 0) {
        printers->addPrinter(
            {{name, port, "driver " + name}, std::move(trays), std::move(papers), paperInUse});
    }

    // A queue on a device that other queues may share; its port is the queue's own address.
    void addQueue(const std::string& name, const std::string& device) {
        printers->addPrinter(
            {{name, "ipp://localhost/printers/" + name, "driver " + name, device}, {}, {}, 0});
    }

    std::shared_ptr<MemoryPrinterSystem> printers = std::make_shared<MemoryPrinterSystem>();
    std::shared_ptr<MemoryPrintQueue> queue = std::make_shared<MemoryPrintQueue>();

  private:
    std::shared_ptr<PrinterSystem> previousPrinters_;
    std::shared_ptr<PrintQueue> previousQueue_;
};

}  // namespace tolvane::testing
