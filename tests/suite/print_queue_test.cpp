// Jobs handed to a private CUPS scheduler whose queues print through a backend of the test's
// own, which keeps each job's data, title, copies and options and then says so through a FIFO,
// one line a job; and the list engine's prints reaching it.
// Never submits to the machine's own print server.
#include "suite/print_queue.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <sstream>
#include <string>

#include "suite/motore_stampa_lista.h"
#include "suite/opz_stampa.h"
#include "support/memory_printing.h"
#include "support/pdf_check.h"
#include "support/private_cups.h"

namespace tolvane {
namespace {

using testing::PdfFacts;
using testing::pdfFacts;
using testing::PrivateCups;
using testing::ScratchFolder;

// Arguments: job id, user, title, copies, options, file (the spool file, here always given).
const char* const kBackend =
    "#!/bin/sh\n"
    "[ $# -eq 0 ] && { echo 'direct prova \"Unknown\" \"Prova\"'; exit 0; }\n"
    "dir=${DEVICE_URI#prova:}\n"
    "cat \"$6\" > \"$dir/job-$1.prn\" || exit 1\n"
    "printf '%s' \"$3\" > \"$dir/job-$1.title\"\n"
    "printf '%s' \"$4\" > \"$dir/job-$1.copies\"\n"
    "printf '%s' \"$5\" > \"$dir/job-$1.options\"\n"
    "echo \"$1\" > \"$dir/fatti\"\n";

class CupsPrintQueueServer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        cups_ = new PrivateCups;
        cups_->addBackend("prova", kBackend);
        outputs_ = cups_->folder().file("uscite");
        std::filesystem::create_directories(outputs_);
        ::mkfifo((outputs_ + "/fatti").c_str(), 0600);
        auto failure = cups_->start();
        std::string out;
        if (failure.empty() &&
            cups_->run({"lpadmin", "-p", "Archivio", "-E", "-v", "prova:" + outputs_}, out) != 0) {
            failure = "lpadmin failed: " + out + "\n" + cups_->log();
        }
        startFailure_ = failure;
    }
    static void TearDownTestSuite() {
        delete cups_;
        cups_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(startFailure_.empty()) << startFailure_; }

    // Waits for the backend to report a finished job; its id, or 0 when none came. The limit
    // only turns a scheduler that never runs the job into a failure instead of a hang.
    static int nextFinishedJob() {
        if (!finished_.empty()) {
            const int id = finished_.front();
            finished_.pop_front();
            return id;
        }
        const int fd = ::open((outputs_ + "/fatti").c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) return 0;
        std::string lines;
        pollfd ready{fd, POLLIN, 0};
        while (::poll(&ready, 1, 60000) > 0) {
            char buffer[64];
            const auto n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) break;
            lines.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
        // A later job may report before this read saw the end of the earlier report.
        std::istringstream reports(lines);
        for (int id = 0; reports >> id;) finished_.push_back(id);
        if (finished_.empty()) return 0;
        return nextFinishedJob();
    }

    static PrivateCups* cups_;
    static std::string outputs_;
    static std::string startFailure_;
    static std::deque<int> finished_;
};

PrivateCups* CupsPrintQueueServer::cups_ = nullptr;
std::string CupsPrintQueueServer::outputs_;
std::string CupsPrintQueueServer::startFailure_;
std::deque<int> CupsPrintQueueServer::finished_;

TEST_F(CupsPrintQueueServer, RawJobCompletesWithItsContentTitleAndOptions) {
    ScratchFolder files;
    const std::string first =
        "\x1b\x0f"
        "Ditta   Uno\r\nRiga con \xe8 accentata\r\n\x0c";
    CupsPrintQueue queue(cups_->socket());
    std::string error;
    PrintJob job{"Archivio",
                 files.write("prima.prn", first),
                 "Elenco aziende",
                 true,
                 {{"InputSlot", "Lower"}, {"PageSize", "A5"}}};
    ASSERT_TRUE(queue.submit(job, error)) << error << cups_->log();
    // The second job starts only once the first has finished: its report is the proof.
    PrintJob second{"Archivio", files.write("seconda.prn", "seconda\n"), "Seconda", true, {}};
    ASSERT_TRUE(queue.submit(second, error)) << error << cups_->log();

    const int firstId = nextFinishedJob();
    ASSERT_GT(firstId, 0) << cups_->log();
    EXPECT_EQ(ScratchFolder::read(outputs_ + "/job-" + std::to_string(firstId) + ".prn"), first);
    EXPECT_EQ(ScratchFolder::read(outputs_ + "/job-" + std::to_string(firstId) + ".title"),
              "Elenco aziende");
    const std::string options =
        ScratchFolder::read(outputs_ + "/job-" + std::to_string(firstId) + ".options");
    EXPECT_NE(options.find("InputSlot=Lower"), std::string::npos) << options;
    EXPECT_NE(options.find("PageSize=A5"), std::string::npos) << options;
    const int secondId = nextFinishedJob();
    ASSERT_EQ(secondId, firstId + 1) << cups_->log();
    EXPECT_EQ(ScratchFolder::read(outputs_ + "/job-" + std::to_string(secondId) + ".prn"),
              "seconda\n");
    const auto jobs = cups_->jobs("Archivio");
    EXPECT_NE(std::find(jobs.begin(), jobs.end(), std::make_pair(firstId, IPP_JSTATE_COMPLETED)),
              jobs.end())
        << cups_->log();
}

TEST_F(CupsPrintQueueServer, UnknownQueueIsRefused) {
    ScratchFolder files;
    PrintJob job{"Sparita", files.write("a.prn", "x"), "Prova", true, {}};
    std::string error;
    EXPECT_FALSE(CupsPrintQueue(cups_->socket()).submit(job, error));
    EXPECT_FALSE(error.empty());
}

// The engine's PDF of a list reaches the queue as it was drawn, in one copy.
TEST_F(CupsPrintQueueServer, EnginePrintsAPdfJob) {
    testing::MemoryPrinting printing;
    printing.addPrinter("Archivio", "prova:");
    setPrintQueue(std::make_shared<CupsPrintQueue>(cups_->socket()));
    auto opz = std::make_shared<OpzStampa>("Elenco");
    PrintList list{"Elenco aziende", {"Codice", "Descrizione"}, {{"1", "Rossi €"}}};
    auto engine = std::make_shared<MotoreStampaLista>(opz, list, PageSetup{});
    engine->printerName = "Archivio";
    ASSERT_TRUE(engine->Esegui());

    const std::string job = outputs_ + "/job-" + std::to_string(nextFinishedJob());
    EXPECT_EQ(ScratchFolder::read(job + ".copies"), "1");
    const PdfFacts pdf = pdfFacts(job + ".prn");
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_NE(pdf.text.find("Rossi €"), std::string::npos) << pdf.text;
}

TEST(CupsPrintQueue, UnreachableServerIsAFailure) {
    ScratchFolder folder;
    PrintJob job{"Ufficio", folder.write("p.ps", "%!PS\n"), "Prova", false, {}};
    std::string error;
    EXPECT_FALSE(CupsPrintQueue(folder.file("nessun-server.sock")).submit(job, error));
    EXPECT_EQ(error, "Server di stampa non raggiungibile");
}

}  // namespace
}  // namespace tolvane
