// Hands print files to the print server, or records them for tests.
// Never keeps a submitted file: the server has its own copy once a submission returns.
#include "suite/print_queue.h"

#include <cups/cups.h>

#include <fstream>
#include <sstream>

#include "platform/cups_printer_system.h"

namespace tolvane {

namespace {

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};

std::shared_ptr<PrintQueue>& installed() {
    static std::shared_ptr<PrintQueue> queue = std::make_shared<CupsPrintQueue>();
    return queue;
}

}  // namespace

bool CupsPrintQueue::submit(const PrintJob& job, std::string& error) {
    std::string host;
    int port = 0;
    cupsServerAddress(server_, host, port);
    std::unique_ptr<http_t, HttpClose> http(
        httpConnect2(host.c_str(), port, nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr));
    if (!http) {
        error = "Server di stampa non raggiungibile";
        return false;
    }
    int count = 0;
    cups_option_t* options = nullptr;
    for (const auto& [name, value] : job.options) {
        count = cupsAddOption(name.c_str(), value.c_str(), count, &options);
    }
    if (job.raw) count = cupsAddOption("raw", "true", count, &options);
    int id = cupsPrintFile2(http.get(), job.printer.c_str(), job.file.c_str(), job.title.c_str(),
                            count, options);
    cupsFreeOptions(count, options);
    if (id == 0) {
        error = cupsLastErrorString() != nullptr ? cupsLastErrorString() : "stampa rifiutata";
        return false;
    }
    return true;
}

bool MemoryPrintQueue::submit(const PrintJob& job, std::string& error) {
    if (!refusal_.empty()) {
        error = refusal_;
        return false;
    }
    std::ifstream in(job.file, std::ios::binary);
    if (!in) {
        error = "File di stampa non trovato: " + job.file;
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    jobs_.push_back({job, content.str()});
    return true;
}

PrintQueue& printQueue() { return *installed(); }

std::shared_ptr<PrintQueue> setPrintQueue(std::shared_ptr<PrintQueue> queue) {
    auto previous = installed();
    installed() = queue ? std::move(queue) : std::make_shared<CupsPrintQueue>();
    return previous;
}

}  // namespace tolvane
