// The print dialogs, as the user drives them, on a print server that takes connections and never
// answers: one wait at most, with the hourglass, then every step within the server's pause names
// it at once; the printers saved for a print are kept; after the pause a server that answers
// again is used.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/cups_printer_system.h"
#include "printing/frm_scelta_stam.h"
#include "printing/stampa_lista_fixture.h"
#include "suite/stampanti/print_queue.h"
#include "support/private_cups.h"
#include "support/test_ppd.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

using ui::user::click;

const char* const kNonRisponde = "Il server di stampa di questo computer non risponde";

// Each change of the mouse pointer, with the connections the server had taken by then.
class PointerWatch : public ui::UiObserver {
  public:
    explicit PointerWatch(SilentPrintServer& server) : server_(server) {}
    void mousePointerChanged(int pointer) override {
        changes.emplace_back(pointer, server_.connections());
    }
    std::vector<std::pair<int, int>> changes;

  private:
    SilentPrintServer& server_;
};

// The print server is reached through a link, so that another server may take its place.
class StampaServerSilenziosoTest : public StampaListaTest {
  protected:
    StampaServerSilenziosoTest() : server(folder.file("stampe.sock")), watch(silent) {
        std::filesystem::create_symlink(silent.socket(), server);
        setPrinterSystem(std::make_shared<CupsPrinterSystem>(server, lpoptions(), 1));
        setPrintQueue(std::make_shared<CupsPrintQueue>(server, 1));
        ui::desktop().addObserver(&watch);
    }
    void SetUp() override { ASSERT_TRUE(silent.listening()); }

    std::string lpoptions() const { return folder.file("lpoptions"); }
    // The dialog shown again on the list, as after a print, with both choices made.
    FrmVedrixStampa& readyToPrint() {
        FrmVedrixStampa& dialog = openDialog();
        click(dialog.OptOrientamento(1));
        click(dialog.OptTipsta(0));
        return dialog;
    }
    void pressStampa(const std::string& message) {
        FrmVedrixStampa& dialog = readyToPrint();
        driver.answerMessage(message, 1);
        click(dialog.CmdStampa);
    }

    SilentPrintServer silent;
    std::string server;
    PointerWatch watch;
};

constexpr std::pair<int, int> kHourglassOn{ui::pointer::Hourglass, 1};
constexpr std::pair<int, int> kHourglassOff{ui::pointer::Default, 1};

// Fault: opening the dialog waited twice, printing twice more, and then said that there was no
// printer at all.
TEST_F(StampaServerSilenziosoTest, TheDialogWaitsOnceAndEveryLaterStepNamesTheServerAtOnce) {
    FrmVedrixStampa& dialog = openDialog();
    EXPECT_EQ(silent.connections(), 1);
    EXPECT_EQ(watch.changes, (std::vector<std::pair<int, int>>{kHourglassOn, kHourglassOff}))
        << "the hourglass while the server was waited for, the pointer back after";
    EXPECT_EQ(dialog.labStaAttuale.caption(),
              std::string("Stampa su stampante predefinita - ") + kNonRisponde);

    struct Step {
        const char* name;
        std::function<void()> act;
    };
    const std::string printError = std::string("Errore(482): ") + kNonRisponde;
    const std::vector<Step> steps = {
        {"print on the default printer", [&] { pressStampa(printError); }},
        {"print on a printer chosen before",
         [&] {
             dialog.opzioni()->StampanteOpz = "Ufficio";
             pressStampa(kNonRisponde);
             EXPECT_TRUE(dialog.opzioni()->LeggiParStampa("StampanteDefOri").isEmpty())
                 << "the default printer is not touched";
             dialog.opzioni()->StampanteOpz.clear();
         }},
        {"fixed-format print on a printer",
         [&] {
             OpzStampa& opz = *dialog.opzioni();
             opz.StaVid = OpzStampa::kFissa;
             opz.FisStampante = true;
             opz.FisFileName = "ipp://localhost/printers/Ufficio";
             pressStampa(printError);
             opz.StaVid = OpzStampa::kStampante;
         }},
        {"default printer button",
         [&] {
             driver.answerMessage(kNonRisponde, 1);
             click(dialog.ComUsaDef);
         }},
        {"print options dialog",
         [&] {
             driver.onForm("FrmSceltaStam", [&](ui::Form& f) {
                 auto& scelta = static_cast<FrmSceltaStam&>(f);
                 EXPECT_EQ(scelta.GriPri->rows(), 1) << "the heading alone";
                 EXPECT_EQ(scelta.labTotStamp->caption(), "0");
                 EXPECT_NE(scelta.LabStaAttuale->caption().find(kNonRisponde), std::string::npos)
                     << scelta.LabStaAttuale->caption();
                 driver.answerMessage(kNonRisponde, 1).answerMessage(kNonRisponde, 1);
                 click(*scelta.ComPaperSize);
                 click(*scelta.ComUsaDef);
                 click(*scelta.ComChiudi);
             });
             click(dialog.comSceStam);
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(silent.connections(), 1) << "not waited for again";
        EXPECT_EQ(ui::desktop().mousePointer(), ui::pointer::Default);
        EXPECT_EQ(giStaAtt, 0);
        EXPECT_EQ(driver.pendingDescription(), "");
    }
    EXPECT_TRUE(queue->jobs().empty());
}

// Fault: a printer saved for the print, or as the fixed-format printer, was forgotten as missing
// when the server did not answer.
TEST_F(StampaServerSilenziosoTest, APrinterSavedForThePrintIsKeptWhenTheServerIsSilent) {
    folder.write("lpoptions", "Default Ufficio\n");
    gsFileIni = folder.write("terminale.ini",
                             "[Elenco aziende]\r\nNomeStampante=Ufficio\r\nFisFileName=ipp://"
                             "localhost/printers/Ufficio\r\n");
    giStampDefCambiata = 1;
    FrmVedrixStampa& dialog = openDialog();
    EXPECT_EQ(silent.connections(), 0) << "a chosen printer needs no look-up to be described";
    driver.answerMessage(kNonRisponde, 1);
    click(dialog.ComUsaDef);
    EXPECT_EQ(silent.connections(), 1);

    driver.onForm("FrmSceltaStam", [&](ui::Form& f) {
        auto& scelta = static_cast<FrmSceltaStam&>(f);
        click(scelta.OptStampaSu(3));
        driver.answerMessage(kNonRisponde, 1);
        click(*scelta.ComUsaDef);
        click(*scelta.ComChiudi);
    });
    click(dialog.comSceStam);
    EXPECT_EQ(dialog.opzioni()->StampanteOpz, "Ufficio");
    const std::string ini = ScratchFolder::read(gsFileIni);
    EXPECT_NE(ini.find("NomeStampante=Ufficio"), std::string::npos) << ini;
    EXPECT_NE(ini.find("FisFileName=ipp://localhost/printers/Ufficio"), std::string::npos) << ini;
    EXPECT_EQ(silent.connections(), 1);
}

// Within its pause the server is not asked; after it, it is asked again: waited for while it is
// still silent, used once it answers.
TEST_F(StampaServerSilenziosoTest, AfterItsPauseTheServerIsAskedAgainAndUsedOnceItAnswers) {
    openDialog();
    ASSERT_EQ(silent.connections(), 1);
    const std::string printError = std::string("Errore(482): ") + kNonRisponde;
    passPrintServerTime(std::chrono::seconds(kSilentServerPauseSeconds - 1));
    pressStampa(printError);
    EXPECT_EQ(silent.connections(), 1) << "still within the pause";
    passPrintServerTime(std::chrono::seconds(2));
    pressStampa(printError);
    EXPECT_EQ(silent.connections(), 2) << "asked again after the pause";
    EXPECT_EQ(watch.changes.size(), 4u) << "the hourglass again for the second wait";

    PrivateCups cups;
    ASSERT_EQ(cups.start(), "");
    const std::string ppd = cups.folder().write(
        "ufficio.ppd", testPpd("Tolvane Ufficio", {{"A4", "A4", 595, 842}}, "A4", {}));
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"lpadmin", "-p", "Ufficio", "-E", "-v", "file:///dev/null", "-P",
                                   ppd},
          {"lpadmin", "-d", "Ufficio"},
          {"cupsdisable", "Ufficio"}}) {
        std::string out;
        ASSERT_EQ(cups.run(command, out), 0) << command[0] << ": " << out << cups.log();
    }
    std::filesystem::remove(server);
    std::filesystem::create_symlink(cups.socket(), server);
    passPrintServerTime(std::chrono::seconds(kSilentServerPauseSeconds));
    FrmVedrixStampa& dialog = readyToPrint();
    click(dialog.CmdStampa);
    EXPECT_EQ(cups.jobs("Ufficio").size(), 1u) << cups.log();
    openDialog();
    click(dialog.ComUsaDef);
    EXPECT_EQ(dialog.labStaAttuale.caption(), "Stampa su stampante predefinita (Ufficio)");
    EXPECT_EQ(silent.connections(), 2);
}

}  // namespace
}  // namespace tolvane::testing
