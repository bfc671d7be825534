// Hands print files to the print server, or records them for tests.
// Never keeps a submitted file: the server has its own copy once a submission returns. The C
// library's own words never reach a message: each failure is told in the program's.
#include "suite/stampanti/print_queue.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/cups_connection.h"
#include "platform/scope_guard.h"

namespace tolvane {

namespace {

std::string notReceived(const std::string& printer) {
    return ": la stampante " + printer + " non ha ricevuto la stampa";
}

std::string refused(const std::string& printer, const std::string& reason) {
    return "La stampante " + printer + " non ha accettato la stampa: " + reason;
}

// A Print-Job request for the job's printer, with its options as job attributes. A raw job's
// file goes to the device as it is; any other is typed by the server.
ipp_t* printJobRequest(const PrintJob& job, const std::string& resource) {
    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
    const std::string uri = "ipp://localhost" + resource;
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    if (!job.title.empty()) {
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
                     job.title.c_str());
    }
    int count = 0;
    cups_option_t* options = nullptr;
    for (const auto& [name, value] : job.options) {
        count = cupsAddOption(name.c_str(), value.c_str(), count, &options);
    }
    if (job.raw) count = cupsAddOption("raw", "true", count, &options);
    cupsEncodeOptions2(request, count, options, IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, count, options, IPP_TAG_JOB);
    cupsFreeOptions(count, options);
    return request;
}

std::shared_ptr<PrintQueue>& installed() {
    static std::shared_ptr<PrintQueue> queue = std::make_shared<CupsPrintQueue>();
    return queue;
}

}  // namespace

Submitted CupsPrintQueue::submit(const PrintJob& job, std::string& error) {
    const int fd = ::open(job.file.c_str(), O_RDONLY | O_CLOEXEC);
    const ScopeGuard closer([fd] {
        if (fd >= 0) ::close(fd);
    });
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        error = refused(job.printer, "file di stampa non trovato: " + job.file);
        return Submitted::Refused;
    }
    const std::string name = cupsServerName(server_);
    const std::string server = "Il server di stampa " + name;
    CupsConnection connection(server_, timeoutSeconds_);
    const std::string resource = cupsPrinterResource(job.printer);
    const Ipp response = connection.ask(printJobRequest(job, resource), resource.c_str(), fd,
                                        static_cast<std::size_t>(info.st_size));
    switch (connection.failure()) {
        case CupsConnection::Failure::None:
            break;
        case CupsConnection::Failure::Stopped:
            return Submitted::Stopped;
        case CupsConnection::Failure::Unreachable:
            error = server + " non è raggiungibile" + notReceived(job.printer);
            return Submitted::Refused;
        case CupsConnection::Failure::Silent:
            error = silentServerText(name) + notReceived(job.printer);
            return Submitted::Refused;
        case CupsConnection::Failure::Broken:
            error = server + " ha chiuso la connessione" + notReceived(job.printer);
            return Submitted::Refused;
    }
    const ipp_status_t status = ippGetStatusCode(response.get());
    if (status <= IPP_STATUS_OK_EVENTS_COMPLETE) return Submitted::Accepted;
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        error = "La stampante " + job.printer + " non esiste più";
        return Submitted::Refused;
    }
    // The server's own words say why, e.g. a document format it has no filter for.
    const char* message =
        ippGetString(ippFindAttribute(response.get(), "status-message", IPP_TAG_TEXT), 0, nullptr);
    error = refused(job.printer, message != nullptr && *message != '\0'
                                     ? std::string(message)
                                     : "codice " + std::to_string(static_cast<int>(status)));
    return Submitted::Refused;
}

Submitted MemoryPrintQueue::submit(const PrintJob& job, std::string& error) {
    if (!refusal_.empty()) {
        error = refused(job.printer, refusal_);
        return Submitted::Refused;
    }
    std::ifstream in(job.file, std::ios::binary);
    if (!in) {
        error = refused(job.printer, "file di stampa non trovato: " + job.file);
        return Submitted::Refused;
    }
    std::ostringstream content;
    content << in.rdbuf();
    jobs_.push_back({job, content.str()});
    return Submitted::Accepted;
}

std::string silentServerText(const std::string& serverName) {
    return "Il server di stampa " + serverName + " non risponde";
}

PrintQueue& printQueue() { return *installed(); }

std::shared_ptr<PrintQueue> setPrintQueue(std::shared_ptr<PrintQueue> queue) {
    auto previous = installed();
    installed() = queue ? std::move(queue) : std::make_shared<CupsPrintQueue>();
    return previous;
}

}  // namespace tolvane
