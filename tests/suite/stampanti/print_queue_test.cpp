// Jobs handed to a private CUPS scheduler whose queue prints through a backend of the test's own,
// which keeps each job's data, title and options and then says so through a FIFO, and to a server
// that never answers. Never submits to the machine's own print server.
#include "suite/stampanti/print_queue.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/private_cups.h"

namespace tolvane {
namespace {

using testing::PrivateCups;
using testing::ScratchFolder;

// Arguments: job id, user, title, copies, options, file (the spool file, here always given).
const char* const kBackend =
    "#!/bin/sh\n"
    "[ $# -eq 0 ] && { echo 'direct prova \"Unknown\" \"Prova\"'; exit 0; }\n"
    "dir=${DEVICE_URI#prova:}\n"
    "cat \"$6\" > \"$dir/job-$1.prn\" || exit 1\n"
    "printf '%s' \"$3\" > \"$dir/job-$1.title\"\n"
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

    // Waits for the backend to report the finished job; its id, or 0 when none came. The limit
    // only turns a scheduler that never runs the job into a failure instead of a hang.
    static int finishedJob() {
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
        return std::atoi(lines.c_str());
    }

    static PrivateCups* cups_;
    static std::string outputs_;
    static std::string startFailure_;
};

PrivateCups* CupsPrintQueueServer::cups_ = nullptr;
std::string CupsPrintQueueServer::outputs_;
std::string CupsPrintQueueServer::startFailure_;

TEST_F(CupsPrintQueueServer, RawJobIsPrintedWithItsContentTitleAndOptions) {
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
    ASSERT_EQ(queue.submit(job, error), Submitted::Accepted) << error << cups_->log();

    const int jobId = finishedJob();
    ASSERT_GT(jobId, 0) << cups_->log();
    const std::string kept = outputs_ + "/job-" + std::to_string(jobId);
    EXPECT_EQ(ScratchFolder::read(kept + ".prn"), first);
    EXPECT_EQ(ScratchFolder::read(kept + ".title"), "Elenco aziende");
    const std::string options = ScratchFolder::read(kept + ".options");
    EXPECT_NE(options.find("InputSlot=Lower"), std::string::npos) << options;
    EXPECT_NE(options.find("PageSize=A5"), std::string::npos) << options;
}

TEST_F(CupsPrintQueueServer, UnknownQueueOrUnreachableServerIsRefused) {
    ScratchFolder files;
    PrintJob job{"Sparita", files.write("a.prn", "x"), "Prova", true, {}};
    std::string error;
    EXPECT_EQ(CupsPrintQueue(cups_->socket()).submit(job, error), Submitted::Refused);
    EXPECT_EQ(error, "La stampante Sparita non esiste più");
    EXPECT_EQ(CupsPrintQueue(files.file("nessun-server.sock")).submit(job, error),
              Submitted::Refused);
    EXPECT_EQ(
        error,
        "Il server di stampa di questo computer non è raggiungibile: la stampante Sparita non "
        "ha ricevuto la stampa");
}

// A server that takes the connection and never answers: a small job waits for the answer, a large
// one for the server to read it. Each is given up at the limit, or by the print's stop however
// long the limit.
TEST(CupsPrintQueueSilent, ServerIsGivenUpAtItsLimitOrByTheStop) {
    testing::SilentPrintServer silent;
    ASSERT_TRUE(silent.listening());
    ScratchFolder files;
    const std::string message =
        "Il server di stampa di questo computer non risponde: la stampante Archivio non ha "
        "ricevuto la stampa";
    for (const std::size_t size : {std::size_t{10}, std::size_t{8} << 20}) {
        SCOPED_TRACE(size);
        const PrintJob job{
            "Archivio", files.write("lavoro.prn", std::string(size, 'x')), "Prova", true, {}};
        std::string error;
        EXPECT_EQ(CupsPrintQueue(silent.socket(), 1).submit(job, error), Submitted::Refused);
        EXPECT_EQ(error, message);

        // Once the server's pause is over, it is waited for again.
        passPrintServerTime(std::chrono::seconds(kSilentServerPauseSeconds));
        int asked = 0;
        PrintServerWaits waits([&] { return ++asked == 3; });
        error.clear();
        EXPECT_EQ(CupsPrintQueue(silent.socket()).submit(job, error), Submitted::Stopped) << error;
        EXPECT_EQ(asked, 3) << "asked no more once it answered";
        EXPECT_TRUE(waits.gaveUp());
    }
}

}  // namespace
}  // namespace tolvane
