// The batch window's run through the scripted driver: layouts loaded in one run with the count
// of rejected lines, the stop, the question after a missing file, the period check, closing
// and what the window keeps between openings.
#include "batch_window_fixture.h"
#include "suite/menu_client.h"

namespace tolvane::batchtest {
namespace {

const std::string kJournal = "INSERT INTO MovPnTes (Anno, NumReg, PreDoc) VALUES (2024, 1, NULL)";

TEST_F(BatchWindowTest, RunLoadsEveryBatchLayoutAndCountsRejectedLines) {
    batchLayout("L1", {"A;Alfa;1", "B;Beta;due"});
    batchLayout("L2", {"C;Gamma;3", ";Senza;4", "D;Delta;5"});
    batchLayout("L3", {"X;Escluso;9"}, {{"batch", "N"}});
    company(kJournal);
    frmCaricoBatch& f = open();
    f.txt(10).setText("10");
    f.txt(20).setText("20");
    f.txt(30).setText("1");
    f.txt(190).setText("NC");
    driver->answerMessage(
        "Elaborazione terminata con 2 errori\nmemorizzati nell'archivio 'ErroriCaricamento'", 1);
    ui::user::click(f.comOk);

    EXPECT_EQ(codes(), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(one("SELECT count(*) FROM ErroriCaricamento"), "2");
    EXPECT_EQ(one("SELECT PreDoc FROM MovPnTes"), ".") << "the fix-up ran on the company database";
    EXPECT_TRUE(closed());
    EXPECT_EQ(gsIdDbase, commonId);
    EXPECT_EQ(giStatoCarica, 0);
    EXPECT_EQ(ui::desktop().topModalForm(), nullptr);
    EXPECT_EQ(gasGruppoIva[0] + gasMastroIva[0] + gasContoIva[0] + gasCauNotaCred[0], "10201NC");
}

TEST_F(BatchWindowTest, NoRejectedLineEndsWithThePlainMessage) {
    batchLayout("L1", {"A;Alfa;1"});
    frmCaricoBatch& f = open();
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);
    EXPECT_EQ(driver->messageTexts(), (std::vector<std::string>{"Elaborazione terminata"}));
    EXPECT_TRUE(closed());
}

TEST_F(BatchWindowTest, FixUpAloneCountsItsStatementsAndShowsTheMovedCausal) {
    const struct {
        std::string trasp2;
        int codFisc;
        std::string fatti;
    } cases[] = {{"", 0, "9"}, {"TR", 1, "12"}};
    company(kJournal);
    frmCaricoBatch& f = open();
    for (const auto& c : cases) {
        f.txt(230).setText(c.trasp2);
        f.txt(240).setText("M");
        f.CheCodFisc.setValue(c.codFisc);
        f.Sistemazione();
        EXPECT_EQ(f.LabMsgElab.caption(), "Sistemazione Prima Nota");
        EXPECT_EQ(f.Label1(0).caption() + " " + f.LabFatti.caption() + " " + f.Label1(1).caption(),
                  "Elaborate: " + c.fatti + " Query");
        EXPECT_EQ(f.txt(220).text() + "|" + f.txt(230).text(), c.trasp2 + "|");
    }
    EXPECT_EQ(one("SELECT PreDoc FROM MovPnTes"), ".") << "on the company database";
    EXPECT_EQ(gsIdDbase, commonId);
    EXPECT_FALSE(closed());
}

TEST_F(BatchWindowTest, StopBetweenLinesStartsNoFurtherLayoutButRunsTheFixUp) {
    std::vector<std::string> lines;
    for (char c = 'A'; c <= 'T'; ++c) lines.push_back(std::string(1, c) + ";Riga;1");
    batchLayout("L1", lines);
    batchLayout("L2", {"Z;Ultima;1"});
    company(kJournal);
    frmCaricoBatch& f = open();
    bool pressed = false;
    bool closeRefused = false;
    int closeAfterStop = -1;  // -1 not tried, 0 refused, 1 closed
    for (int n = 1; n <= 200; ++n) {
        driver->atDoEvents(n, [&] {
            if (pressed && closeAfterStop < 0) closeAfterStop = ui::user::close(f) ? 1 : 0;
            if (pressed || f.LabMsgElab.caption() != "Caricamento L1" ||
                f.LabFatti.caption() != "3")
                return;
            pressed = true;
            closeRefused = !ui::user::close(f);
            ui::user::click(f.ComStop);
        });
    }
    driver->answerMessage("Confermi Interruzione Caricamento", 1);
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);

    EXPECT_TRUE(pressed);
    EXPECT_TRUE(closeRefused) << "the window cannot close while it loads";
    EXPECT_EQ(closeAfterStop, 0) << "nor while the run ends after a stop";
    EXPECT_EQ(codes(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(one("SELECT PreDoc FROM MovPnTes"), ".");
    EXPECT_TRUE(closed());
    EXPECT_EQ(giStatoCarica, 0);
    EXPECT_EQ(gsIdDbase, commonId);
}

TEST_F(BatchWindowTest, StopRefusedGoesOn) {
    batchLayout("L1", {"A;Alfa;1", "B;Beta;2"});
    frmCaricoBatch& f = open();
    driver->atDoEvents(3, [&] { ui::user::click(f.ComStop); });
    driver->answerMessage("Confermi Interruzione Caricamento", 2);
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);
    EXPECT_EQ(codes(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(BatchWindowTest, MissingFileAsksWhetherToGoOn) {
    const struct {
        int answer;
        std::vector<std::string> loaded;
    } cases[] = {{1, {"A", "C"}}, {2, {"A"}}};
    for (const auto& c : cases) {
        company("DELETE FROM Prova; DELETE FROM MovPnTes; " + kJournal);
        exec(commonId, "DELETE FROM CaricaFile; DELETE FROM CaricaDettaglio");
        batchLayout("L1", {"A;Alfa;1"});
        batchLayout("L2", {});
        batchLayout("L3", {"C;Gamma;3"});
        frmCaricoBatch& f = open();
        driver->answerMessage("Errore nell'apertura del file", 1);
        driver->answerMessage("Vuoi caricare i files successivi?", c.answer);
        driver->answerMessage("Elaborazione terminata", 1);
        ui::user::click(f.comOk);
        EXPECT_EQ(codes(), c.loaded) << "answer " << c.answer;
        EXPECT_EQ(one("SELECT PreDoc FROM MovPnTes"), ".") << "answer " << c.answer;
        EXPECT_TRUE(closed());
    }
}

TEST_F(BatchWindowTest, CarriersCausalsNeedTheVatPeriod) {
    const struct {
        std::string causale, periodo;
        bool runs;
    } cases[] = {
        {"TR", "x", false}, {"TR", "", false}, {"TR", "m", true}, {"", "", true}, {"", "x", true}};
    for (const auto& c : cases) {
        batchLayout("L1", {"A;Alfa;1"});
        frmCaricoBatch& f = open();
        f.txt(230).setText(c.causale);
        f.txt(240).setText(c.periodo);
        if (c.runs) driver->answerMessage("Elaborazione terminata", 1);
        else driver->answerMessage("Ditta Mensile o Trimestrale OBBLIGATORIO!!", 1);
        ui::user::click(f.comOk);
        const std::string what = "causale '" + c.causale + "' periodo '" + c.periodo + "'";
        EXPECT_EQ(closed(), c.runs) << what;
        EXPECT_EQ(codes().size(), c.runs ? 1u : 0u) << what;
        if (!c.runs) {
            EXPECT_EQ(f.txt(240).backColor(), glColErrore) << what;
            EXPECT_TRUE(f.comOk.visible()) << what;
            restart();
        }
        company("DELETE FROM Prova");
        exec(commonId, "DELETE FROM CaricaFile; DELETE FROM CaricaDettaglio");
    }
}

TEST_F(BatchWindowTest, NoBatchLayoutClosesTheWindowUntouched) {
    batchLayout("L1", {"A;Alfa;1"}, {{"batch", "N"}});
    company(kJournal);
    frmCaricoBatch& f = open();
    driver->answerMessage("Nessuna file selezionato da caricare", 1);
    ui::user::click(f.comOk);
    EXPECT_TRUE(closed());
    EXPECT_EQ(one("SELECT PreDoc FROM MovPnTes"), "NULL");
    EXPECT_EQ(gsIdDbase, commonId);
}

TEST_F(BatchWindowTest, RunWithoutCompanyDatabaseIsRefusedBeforeAnyValueIsAsked) {
    batchLayout("L1", {"A;Alfa;1"});
    field("L1", "Note", {{"Default", "§Note"}});
    ui::desktop().instance<frmDatiAzie>().osIdDbase.clear();
    frmCaricoBatch& f = open();
    driver->answerMessage("Errore(3146): Nessun database della ditta aperto", 1);
    ui::user::click(f.comOk);
    EXPECT_FALSE(closed());
    EXPECT_EQ(gsIdDbase, commonId);
    EXPECT_EQ(giStatoCarica, 0);
    EXPECT_TRUE(f.comOk.visible());
    EXPECT_TRUE(f.ComAnnulla.visible());
    EXPECT_FALSE(f.ComStop.visible());
    EXPECT_EQ(ui::desktop().topModalForm(), nullptr);
    EXPECT_TRUE(codes().empty());
}

TEST_F(BatchWindowTest, ClosingWhenIdleAsksForConfirmation) {
    frmCaricoBatch& f = open();
    driver->answerMessage("Confermi annullamento caricamento batch", 2);
    EXPECT_FALSE(ui::user::click(f.ComAnnulla) && closed());
    EXPECT_FALSE(closed());
    driver->answerMessage("Confermi annullamento caricamento batch", 1);
    ui::user::close(f);
    EXPECT_TRUE(closed());
}

TEST_F(BatchWindowTest, ReopeningShowsTheAccountsAndCausalsTypedLast) {
    batchLayout("L1", {"A;Alfa;1"});
    frmCaricoBatch& f = open();
    for (int i = 10; i <= 230; i += 10) f.txt(i).setText(std::to_string(i));
    f.txt(240).setText("T");
    f.CheCodFisc.setValue(1);
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);
    ASSERT_TRUE(closed());

    frmCaricoBatch& again = open();
    for (int i = 10; i <= 210; i += 10)
        EXPECT_EQ(again.txt(i).text(), std::to_string(i)) << "txt(" << i << ")";
    for (int i : {220, 230, 240}) EXPECT_EQ(again.txt(i).text(), "") << "txt(" << i << ")";
    EXPECT_EQ(again.CheCodFisc.value(), 0);
}

TEST_F(BatchWindowTest, OpeningReadsSoloAsciAndPassaAHandsTheWindowToTheMenu) {
    goMenuClient = std::make_unique<MenuClient>(MenuClientSettings{});
    goMenuClient->setDatabase(&goDbase(), commonId);
    insertRow("Personalizzazioni",
              {{"Sezione", "Carica"}, {"Chiave", "SoloAsci"}, {"Valore", "S"}});
    frmCaricoBatch& f = open();
    EXPECT_EQ(gsSoloAsci, "S");
    EXPECT_EQ(gsConnDbMenu, commonId);
    f.callByName("PassaA");
    EXPECT_EQ(goMenuClient->requests().back(),
              "PassaAProgramma Caricamento Dati Batch|frmCaricoBatch|Tutti");
    goMenuClient.reset();
}

}  // namespace
}  // namespace tolvane::batchtest
