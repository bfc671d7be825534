// Tests of the printer system against a real, private CUPS scheduler: its own folders and a Unix
// socket in a temporary folder, queues added with lpadmin from PPDs written here and one without.
// Never talks to the machine's own print server and never touches the user's lpoptions.
#include "platform/cups_printer_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace tolvane {
namespace {

using testing::ScratchFolder;

const char* const kPpdHeader =
    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
    "*LanguageVersion: Italian\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"TOLVANE.PPD\"\n"
    "*Manufacturer: \"Tolvane\"\n*Product: \"(Prova)\"\n*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
    "*FileSystem: False\n*Throughput: \"1\"\n*TTRasterizer: Type42\n"
    "*DefaultFont: Courier\n*Font Courier: Standard \"(002.004S)\" Standard ROM\n";

std::string pageOption(const std::string& keyword, const std::string& defaultSize) {
    std::string text = "*OpenUI *" + keyword + ": PickOne\n*OrderDependency: 10 AnySetup *" +
                       keyword + "\n*Default" + keyword + ": " + defaultSize + "\n";
    text += "*" + keyword + " Letter/US Letter: \"<</PageSize[612 792]>>setpagedevice\"\n";
    text += "*" + keyword + " A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n";
    text += "*" + keyword + " A5/A5 ridotto: \"<</PageSize[420 595]>>setpagedevice\"\n";
    return text + "*CloseUI: *" + keyword + "\n";
}

std::string ppd(const std::string& model, const std::string& defaultSize, bool trays) {
    std::string text = kPpdHeader;
    text += "*ModelName: \"" + model + "\"\n*ShortNickName: \"" + model + "\"\n*NickName: \"" +
            model + ", 1.0\"\n";
    text += pageOption("PageSize", defaultSize) + pageOption("PageRegion", defaultSize);
    text += "*DefaultImageableArea: " + defaultSize +
            "\n*ImageableArea Letter: \"18 36 594 756\"\n*ImageableArea A4: \"18 36 577 806\"\n"
            "*ImageableArea A5: \"18 36 402 559\"\n";
    text += "*DefaultPaperDimension: " + defaultSize +
            "\n*PaperDimension Letter: \"612 792\"\n*PaperDimension A4: \"595 842\"\n"
            "*PaperDimension A5: \"420 595\"\n";
    if (trays) {
        text +=
            "*OpenUI *InputSlot/Alimentazione: PickOne\n*OrderDependency: 20 AnySetup *InputSlot\n"
            "*DefaultInputSlot: Upper\n"
            "*InputSlot Upper/Cassetto superiore: \"<</MediaPosition 0>>setpagedevice\"\n"
            "*InputSlot Lower/Cassetto inferiore: \"<</MediaPosition 1>>setpagedevice\"\n"
            "*InputSlot Manual/Alimentazione manuale: \"<</MediaPosition 2>>setpagedevice\"\n"
            "*CloseUI: *InputSlot\n";
    }
    return text;
}

std::string findCupsd() {
    std::vector<std::string> places = {"/usr/sbin/cupsd", "/usr/local/sbin/cupsd", "/sbin/cupsd"};
    if (const char* path = std::getenv("PATH")) {
        std::string rest = path;
        for (std::size_t start = 0; start <= rest.size();) {
            auto end = rest.find(':', start);
            if (end == std::string::npos) end = rest.size();
            places.push_back(rest.substr(start, end - start) + "/cupsd");
            start = end + 1;
        }
    }
    for (const auto& place : places) {
        if (::access(place.c_str(), X_OK) == 0) return place;
    }
    return {};
}

// A private scheduler: it is handed its listening socket ready-made (as a service manager
// would), so clients may connect at once and queue until it accepts; no waiting is needed.
class PrivateCups {
  public:
    PrivateCups() {
        const auto root = folder_.path().string();
        for (const char* dir : {"conf", "spool", "cache", "state", "log", "tmp", "home"}) {
            std::filesystem::create_directories(folder_.path() / dir);
        }
        socket_ = root + "/cups.sock";
        home_ = root + "/home";
        folder_.write("conf/cupsd.conf",
                      "Listen " + socket_ +
                          "\nLogLevel info\nBrowsing No\nWebInterface No\nIdleExitTimeout 300\n"
                          "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                          "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                          "  </Limit>\n</Policy>\n");
        folder_.write("conf/cups-files.conf",
                      "ServerRoot " + root + "/conf\nRequestRoot " + root + "/spool\nCacheDir " +
                          root + "/cache\nStateDir " + root + "/state\nTempDir " + root +
                          "/tmp\nAccessLog " + root + "/log/access_log\nErrorLog " + root +
                          "/log/error_log\nPageLog " + root + "/log/page_log\nPrintcap " + root +
                          "/state/printcap\nFileDevice Yes\n");
    }
    ~PrivateCups() { stop(); }

    // "" when the scheduler runs, else what went wrong.
    std::string start() {
        const auto cupsd = findCupsd();
        if (cupsd.empty()) {
            return "cupsd is not installed: scripts/setup installs it (Debian package "
                   "cups-daemon)";
        }
        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (listener < 0 || socket_.size() >= sizeof address.sun_path) return "socket";
        std::strcpy(address.sun_path, socket_.c_str());
        if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, 64) != 0) {
            ::close(listener);
            return "cannot listen on " + socket_;
        }
        const auto conf = folder_.file("conf/cupsd.conf");
        const auto files = folder_.file("conf/cups-files.conf");
        const auto output = folder_.file("log/output");
        std::vector<std::string> env = {"LISTEN_FDS=1", "LISTEN_PID=", "HOME=" + home_,
                                        "PATH=/usr/sbin:/usr/bin:/sbin:/bin"};
        std::vector<char*> argv = {const_cast<char*>("cupsd"),
                                   const_cast<char*>("-l"),
                                   const_cast<char*>("-c"),
                                   const_cast<char*>(conf.c_str()),
                                   const_cast<char*>("-s"),
                                   const_cast<char*>(files.c_str()),
                                   nullptr};
        env[1].resize(40, '\0');
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);

        pid_ = ::fork();
        if (pid_ == 0) {
            // Only async-signal-safe calls until exec. A test program that dies takes its
            // scheduler with it.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            char* pidText = envp[1] + std::strlen("LISTEN_PID=");
            char digits[20];
            int n = 0;
            for (pid_t p = ::getpid(); p > 0; p /= 10)
                digits[n++] = static_cast<char>('0' + p % 10);
            while (n > 0) *pidText++ = digits[--n];
            *pidText = '\0';
            const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out >= 0) {
                ::dup2(out, 1);
                ::dup2(out, 2);
            }
            if (listener == 3) {
                ::fcntl(3, F_SETFD, 0);
            } else {
                ::dup2(listener, 3);
            }
            ::execve(cupsd.c_str(), argv.data(), envp.data());
            ::_exit(127);
        }
        // Only the scheduler keeps the socket: should it die, clients are refused, not left
        // waiting.
        ::close(listener);
        if (pid_ < 0) return "fork";
        return {};
    }

    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

    // Runs a CUPS client program against this scheduler; its exit code, output in out.
    int run(const std::vector<std::string>& args, std::string& out) const {
        const auto output = folder_.file("log/client");
        std::string command = "env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME='" + home_ +
                              "' CUPS_SERVER='" + socket_ + "'";
        for (const auto& arg : args) command += " '" + arg + "'";
        command += " >'" + output + "' 2>&1";
        const int status = std::system(command.c_str());
        out = ScratchFolder::read(output);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string log() const {
        return ScratchFolder::read(folder_.file("log/output")) +
               ScratchFolder::read(folder_.file("log/error_log"));
    }

    const ScratchFolder& folder() const { return folder_; }
    const std::string& socket() const { return socket_; }
    std::string lpoptions() const { return home_ + "/.cups/lpoptions"; }

  private:
    ScratchFolder folder_;
    std::string socket_;
    std::string home_;
    pid_t pid_ = -1;
};

class CupsPrinterSystemServer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        cups_ = new PrivateCups;
        const auto failure = cups_->start();
        if (!failure.empty()) {
            startFailure_ = failure;
            return;
        }
        const auto ufficio =
            cups_->folder().write("ufficio.ppd", ppd("Tolvane Ufficio", "A4", true));
        const auto magazzino =
            cups_->folder().write("magazzino.ppd", ppd("Tolvane Magazzino", "Letter", false));
        const std::vector<std::vector<std::string>> commands = {
            {"lpadmin", "-p", "Ufficio", "-E", "-v", "file:///dev/null", "-P", ufficio},
            {"lpadmin", "-p", "Magazzino", "-E", "-v", "file:///dev/null", "-P", magazzino},
            {"lpadmin", "-p", "Grezza", "-E", "-v", "file:///dev/null"},
            {"lpadmin", "-d", "Ufficio"},
        };
        for (const auto& command : commands) {
            std::string out;
            if (cups_->run(command, out) != 0) {
                startFailure_ = command[0] + " " + command[1] + " " + command[2] +
                                " failed: " + out + "\n" + cups_->log();
                return;
            }
        }
    }
    static void TearDownTestSuite() {
        delete cups_;
        cups_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(startFailure_.empty()) << startFailure_;
        std::filesystem::remove(cups_->lpoptions());
    }

    CupsPrinterSystem system() const {
        return CupsPrinterSystem(cups_->socket(), cups_->lpoptions());
    }

    static PrivateCups* cups_;
    static std::string startFailure_;
};

PrivateCups* CupsPrinterSystemServer::cups_ = nullptr;
std::string CupsPrinterSystemServer::startFailure_;

TEST_F(CupsPrinterSystemServer, QueuesAreListedWithDeviceUriAndMakeAndModel) {
    auto printers = system().printers();
    ASSERT_EQ(printers.size(), 3u) << cups_->log();
    EXPECT_EQ(printers[0].name, "Grezza");
    EXPECT_EQ(printers[1].name, "Magazzino");
    EXPECT_EQ(printers[2].name, "Ufficio");
    EXPECT_EQ(printers[2].port, "file:///dev/null");
    EXPECT_EQ(printers[2].driver, "Tolvane Ufficio, 1.0");
    EXPECT_EQ(printers[1].driver, "Tolvane Magazzino, 1.0");
}

TEST_F(CupsPrinterSystemServer, TraysAndPaperSizesComeFromTheQueuesPpd) {
    auto cups = system();
    EXPECT_EQ(cups.trays("Ufficio"), (std::vector<PrinterChoice>{{1, "Cassetto superiore"},
                                                                 {2, "Cassetto inferiore"},
                                                                 {3, "Alimentazione manuale"}}));
    const std::vector<PrinterChoice> sizes = {{1, "US Letter"}, {2, "A4"}, {3, "A5 ridotto"}};
    EXPECT_EQ(cups.paperSizes("Ufficio"), sizes);
    EXPECT_EQ(cups.defaultPaperSize("Ufficio"), 2);
    EXPECT_TRUE(cups.trays("Magazzino").empty());
    EXPECT_EQ(cups.paperSizes("Magazzino"), sizes);
    EXPECT_EQ(cups.defaultPaperSize("Magazzino"), 1);
    EXPECT_TRUE(cups.paperSizes("Grezza").empty()) << "no PPD and no media of its own";
    EXPECT_TRUE(cups.trays("Sparita").empty());
    EXPECT_TRUE(cups.paperSizes("Sparita").empty());
    EXPECT_EQ(cups.defaultPaperSize("Sparita"), -1);
}

TEST_F(CupsPrinterSystemServer, UserDefaultOverridesTheServersWithoutChangingIt) {
    auto cups = system();
    EXPECT_EQ(cups.defaultPrinter(), "Ufficio");
    EXPECT_EQ(cups.userDefault(), "");

    ASSERT_TRUE(cups.setUserDefault("Magazzino"));
    EXPECT_EQ(cups.defaultPrinter(), "Magazzino");
    std::string out;
    EXPECT_EQ(cups_->run({"lpstat", "-d"}, out), 0);
    EXPECT_EQ(out, "system default destination: Magazzino\n") << "the CUPS clients agree";

    ASSERT_TRUE(cups.setUserDefault(""));
    EXPECT_EQ(cups.defaultPrinter(), "Ufficio") << "the server's default was left alone";
    EXPECT_EQ(cups_->run({"lpstat", "-d"}, out), 0);
    EXPECT_EQ(out, "system default destination: Ufficio\n");
}

TEST_F(CupsPrinterSystemServer, UserDefaultNamingARemovedQueueIsStillTheDefault) {
    auto cups = system();
    ASSERT_TRUE(cups.setUserDefault("Sparita"));
    EXPECT_EQ(cups.defaultPrinter(), "Sparita");
    EXPECT_EQ(findPrinter(cups, "Sparita"), nullptr);
    EXPECT_NE(findPrinter(cups, "ufficio"), nullptr);
}

}  // namespace
}  // namespace tolvane
