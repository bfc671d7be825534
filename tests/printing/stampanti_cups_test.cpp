// The print dialogs on a private CUPS scheduler: two queues whose PPDs list the same trays and
// papers in other orders and under other keywords, two queues of terminal sessions, and no
// default printer. Never talks to the machine's own print server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "common/sessione_terminale.h"
#include "platform/cups_printer_system.h"
#include "printing/frm_scelta_stam_fixture.h"
#include "printing/stampa_lista_fixture.h"
#include "suite/stampanti/print_queue.h"
#include "support/hostile_values.h"
#include "support/private_cups.h"
#include "support/test_ppd.h"

namespace tolvane::testing {
namespace {

using ui::user::chooseCell;
using ui::user::click;

const char* const kNessunaPredefinita = "Nessuna stampante predefinita: sceglierne una dall'elenco";

class StampantiCupsTest : public SceltaStamTest {
  protected:
    static void SetUpTestSuite() {
        cups_ = new PrivateCups;
        startFailure_ = cups_->start();
        if (!startFailure_.empty()) return;
        const auto ufficio =
            cups_->folder().write("ufficio.ppd", testPpd("Tolvane Ufficio",
                                                         {{"Letter", "US Letter", 612, 792},
                                                          {"A4", "A4", 595, 842},
                                                          {"A5", "A5 ridotto", 420, 595}},
                                                         "A4",
                                                         {{"Upper", "Cassetto superiore"},
                                                          {"Lower", "Cassetto inferiore"},
                                                          {"Manual", "Alimentazione manuale"}}));
        const auto magazzino = cups_->folder().write(
            "magazzino.ppd",
            testPpd(
                "Tolvane Magazzino",
                {{"A5", "A5", 420, 595}, {"A4", "A4", 595, 842}, {"Letter", "Letter", 612, 792}},
                "Letter",
                {{"Top", "Superiore"}, {"ManualFeed", "Manuale"}, {"Bottom", "Inferiore"}}));
        // Jobs stay queued on stopped queues, where the scheduler shows what they carry.
        const std::vector<std::vector<std::string>> commands = {
            {"lpadmin", "-p", "Ufficio", "-E", "-v", "file:///dev/null", "-P", ufficio},
            {"lpadmin", "-p", "Magazzino", "-E", "-v", "file:///dev/null", "-P", magazzino},
            {"lpadmin", "-p", "Ufficio_s3", "-E", "-v", "file:///dev/null"},
            {"lpadmin", "-p", "Ufficio_s5", "-E", "-v", "file:///dev/null"},
            {"cupsdisable", "Ufficio"},
            {"cupsdisable", "Magazzino"},
        };
        for (const auto& command : commands) {
            std::string out;
            if (cups_->run(command, out) != 0) {
                startFailure_ = command[0] + " " + command[1] + " failed: " + out + cups_->log();
                return;
            }
        }
    }
    static void TearDownTestSuite() {
        delete cups_;
        cups_ = nullptr;
    }

    StampantiCupsTest() {
        std::filesystem::remove(cups_->lpoptions());
        setPrinterSystem(std::make_shared<CupsPrinterSystem>(cups_->socket(), cups_->lpoptions()));
        setPrintQueue(std::make_shared<CupsPrintQueue>(cups_->socket()));
        listOfCompanies(lista, 2);
    }
    ~StampantiCupsTest() override {
        ui::desktop().reset();
        ::unsetenv("TOLVANE_SESSIONE");
        giNumSessione = 0;
        gsModStampanteSessione.clear();
    }
    void SetUp() override { ASSERT_TRUE(startFailure_.empty()) << startFailure_; }

    // An option of the queue's latest job as the scheduler keeps it; "" when there is none.
    static std::string jobOption(const std::string& queue, const char* option) {
        int id = 0;
        for (const auto& job : cups_->jobs(queue)) id = std::max(id, job.first);
        auto http = cups_->connect();
        if (id == 0 || !http) return {};
        ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                         "/jobs/%d", id);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                     "all");
        ipp_t* response = cupsDoRequest(http.get(), request, "/");
        const char* value =
            response ? ippGetString(ippFindAttribute(response, option, IPP_TAG_ZERO), 0, nullptr)
                     : nullptr;
        std::string text = value ? value : "";
        ippDelete(response);
        return text;
    }

    VedrixLista lista;
    static PrivateCups* cups_;
    static std::string startFailure_;
};

PrivateCups* StampantiCupsTest::cups_ = nullptr;
std::string StampantiCupsTest::startFailure_;

TEST_F(StampantiCupsTest, BothQueuesNumberTheSameTrayAndPaperAlikeAndTheJobGetsTheirKeywords) {
    using Lists = std::vector<std::string>;
    FrmSceltaStam& form = open();
    for (const auto& [printer, trays, papers] : std::vector<std::tuple<const char*, Lists, Lists>>{
             {"Ufficio",
              {"     1 - Cassetto superiore", "     2 - Cassetto inferiore",
               "     4 - Alimentazione manuale"},
              {"1 - US Letter", "9 - A4 (ATTUALE)", "11 - A5 ridotto"}},
             {"Magazzino",
              {"     1 - Superiore", "     4 - Manuale", "     2 - Inferiore"},
              {"11 - A5", "9 - A4", "1 - Letter (ATTUALE)"}}}) {
        SCOPED_TRACE(printer);
        chooseCell(*form.GriPri, rowOf(*form.GriPri, printer), 1);
        Lists shownTrays = items(*form.cboCassetti);
        Lists shownPapers = items(*form.cboTipoCarta);
        ASSERT_FALSE(shownTrays.empty());
        ASSERT_FALSE(shownPapers.empty());
        EXPECT_EQ(Lists(shownTrays.begin() + 1, shownTrays.end()), trays);
        EXPECT_EQ(Lists(shownPapers.begin() + 1, shownPapers.end()), papers);
    }

    // A saved tray and paper reach the job as the queue's own keywords.
    closeAll();
    folder.write("pelmor.ini",
                 "[Elenco aziende]\r\nNomeStampante=Magazzino\r\nCassetto=2\r\nTipoCarta=11\r\n");
    FrmVedrixStampa& dialog = openListDialog(lista);
    driver.onForm("FrmSceltaStam", [](ui::Form& f) {
        auto& scelta = static_cast<FrmSceltaStam&>(f);
        EXPECT_EQ(scelta.cboCassetti->text(), "     2 - Inferiore");
        EXPECT_EQ(scelta.cboTipoCarta->text(), "11 - A5");
        click(*scelta.ComChiudi);
    });
    click(dialog.comSceStam);
    click(dialog.OptOrientamento(1));
    click(dialog.OptTipsta(0));
    click(dialog.CmdStampa);
    EXPECT_EQ(jobOption("Magazzino", "InputSlot"), "Bottom") << cups_->log();
    EXPECT_EQ(jobOption("Magazzino", "PageSize"), "A5");
}

// Every queue of this scheduler prints on file:///dev/null: the port shown and stored is the
// queue's own address and the fixed-format job goes to that queue; the shared device address,
// as an older option set stored it, is refused naming every queue on it.
TEST_F(StampantiCupsTest, FixedFormatGoesToTheQueueChosenAmongQueuesOnOneDevice) {
    const std::size_t ufficio = cups_->jobs("Ufficio").size();
    const std::size_t magazzino = cups_->jobs("Magazzino").size();
    FrmVedrixStampa& dialog = openListDialog(lista);
    driver.onForm("FrmSceltaStam", [](ui::Form& f) {
        auto& scelta = static_cast<FrmSceltaStam&>(f);
        click(scelta.OptStampaSu(3));
        const int row = rowOf(*scelta.GriPorte, "Magazzino");
        EXPECT_EQ(scelta.GriPorte->textMatrix(row, 2), "ipp://localhost/printers/Magazzino");
        chooseCell(*scelta.GriPorte, row, 1);
        EXPECT_EQ(scelta.LabFileStampaFis->caption(), "ipp://localhost/printers/Magazzino");
        click(*scelta.ComChiudi);
    });
    click(dialog.comSceStam);
    EXPECT_TRUE(dialog.opzioni()->FisStampante);
    click(dialog.OptOrientamento(1));
    click(dialog.OptTipsta(0));
    click(dialog.CmdStampa);
    EXPECT_EQ(cups_->jobs("Magazzino").size(), magazzino + 1) << cups_->log();
    EXPECT_EQ(cups_->jobs("Ufficio").size(), ufficio);

    FrmVedrixStampa& again = openListDialog(lista);
    again.opzioni()->StaVid = OpzStampa::kFissa;
    again.opzioni()->FisStampante = true;
    again.opzioni()->FisFileName = "file:///dev/null";
    click(again.OptOrientamento(1));
    click(again.OptTipsta(0));
    driver.answerMessage(
        "La porta file:///dev/null appartiene a più stampanti (Magazzino, Ufficio, Ufficio_s3, "
        "Ufficio_s5)",
        1);
    click(again.CmdStampa);
    EXPECT_EQ(cups_->jobs("Magazzino").size(), magazzino + 1);
    EXPECT_EQ(cups_->jobs("Ufficio").size(), ufficio);
}

// Whatever the values, the printer gets the whole list as one PDF: bytes that are not UTF-8, a
// value longer than a workbook cell and a megabyte, a zero byte, each drawn inside its column, its
// row's code beside it and the other rows untouched.
TEST_F(StampantiCupsTest, PrinterJobDrawsEveryValueInsideItsColumn) {
    lista.rows.clear();
    const auto& values = hostileValues();
    for (std::size_t i = 0; i < values.size(); ++i)
        lista.rows.push_back({"R" + std::to_string(i + 1), values[i].value, ""});
    folder.write("pelmor.ini", "[Elenco aziende]\r\nNomeStampante=Ufficio\r\n");
    FrmVedrixStampa& dialog = openListDialog(lista);
    click(dialog.OptOrientamento(1));
    click(dialog.OptTipsta(0));
    click(dialog.CmdStampa);
    int id = 0;
    for (const auto& job : cups_->jobs("Ufficio")) id = std::max(id, job.first);
    ASSERT_GT(id, 0) << cups_->log();
    char document[32];
    std::snprintf(document, sizeof document, "spool/d%05d-001", id);
    const PdfFacts pdf = pdfFacts(cups_->folder().file(document));
    EXPECT_EQ(pdf.pages, 1) << pdf.text;
    EXPECT_EQ(outOfPlace(pdf, "Descrizione", values.size()), std::vector<std::string>{});
    for (const char* word : {"città", "AÿB", "parola", "_x0041_", "fine", "dopo"})
        EXPECT_NE(pdf.text.find(word), std::string::npos) << word;
}

// The queue chosen in the dialog is deleted while the print is drawn: the message names it in the
// program's words, not the C library's.
TEST_F(StampantiCupsTest, AQueueDeletedWhileThePrintIsDrawnIsNamed) {
    std::string out;
    ASSERT_EQ(cups_->run({"lpadmin", "-p", "Temporanea", "-E", "-v", "file:///dev/null"}, out), 0)
        << out;
    FrmVedrixStampa& dialog = openListDialog(lista);
    driver.onForm("FrmSceltaStam", [](ui::Form& f) {
        auto& scelta = static_cast<FrmSceltaStam&>(f);
        chooseCell(*scelta.GriPri, rowOf(*scelta.GriPri, "Temporanea"), 1);
        click(*scelta.ComChiudi);
    });
    click(dialog.comSceStam);
    click(dialog.OptOrientamento(1));
    click(dialog.OptTipsta(0));
    driver.atDoEvents(1, [] {
        std::string out;
        EXPECT_EQ(cups_->run({"lpadmin", "-x", "Temporanea"}, out), 0) << out;
    });
    driver.answerMessage("La stampante Temporanea non esiste più", 1);
    click(dialog.CmdStampa);
    EXPECT_EQ(driver.pendingDescription(), "");
    EXPECT_EQ(driver.messageTexts().back().find("No such"), std::string::npos);
}

TEST_F(StampantiCupsTest, SessionSettingKeepsOtherSessionsPrintersOut) {
    ::setenv("TOLVANE_SESSIONE", "3;_s%§", 1);
    ASSERT_EQ(LeggiSessioneTerminale(), "");
    FrmSceltaStam& form = open();
    std::vector<std::string> names;
    for (int r = 1; r < form.GriPri->rows(); ++r) names.push_back(form.GriPri->textMatrix(r, 1));
    EXPECT_EQ(names, (std::vector<std::string>{"Magazzino", "Ufficio", "Ufficio_s3"}));

    ASSERT_TRUE(printerSystem().setUserDefault("Ufficio_s5"));
    opz.StampanteOpz = "Magazzino";
    FrmVedrixStampa& dialog = openListDialog(lista);
    dialog.opzioni()->StampanteOpz = "Magazzino";
    for (ui::CommandButton* button : {form.ComUsaDef, &dialog.ComUsaDef}) {
        driver.answerMessage(
            "La stampante (Ufficio_s5) predefinita appartiene ad un'altra sessione", 1);
        click(*button);
    }
    EXPECT_EQ(opz.StampanteOpz, "Magazzino");
    EXPECT_EQ(dialog.opzioni()->StampanteOpz, "Magazzino");
}

TEST_F(StampantiCupsTest, NoDefaultPrinterIsToldOnBothDialogsAndChangesNothing) {
    for (int cambiata : {0, 1}) {
        SCOPED_TRACE(cambiata);
        giStampDefCambiata = cambiata;
        opz.StaVid = OpzStampa::kStampante;
        opz.StampanteOpz = "Magazzino";
        opz.FisFileName = "/tmp/fissa.txt";
        opz.ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(2));
        FrmSceltaStam& form = open();
        driver.answerMessage(kNessunaPredefinita, 1).answerMessage(kNessunaPredefinita, 1);
        click(*form.ComUsaDef);
        click(form.OptStampaSu(3));
        click(*form.ComUsaDef);
        EXPECT_EQ(opz.StampanteOpz, "Magazzino");
        EXPECT_EQ(opz.LeggiParStampa("NumCassetto").toLong(), 2);
        EXPECT_EQ(opz.FisFileName, "/tmp/fissa.txt");
        click(*form.ComChiudi);

        FrmVedrixStampa& dialog = openListDialog(lista);
        dialog.opzioni()->StampanteOpz = "Magazzino";
        driver.answerMessage(kNessunaPredefinita, 1);
        click(dialog.ComUsaDef);
        EXPECT_EQ(dialog.opzioni()->StampanteOpz, "Magazzino");
        click(dialog.CmdEsci);
    }
}

}  // namespace
}  // namespace tolvane::testing
