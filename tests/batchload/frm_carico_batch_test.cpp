// The batch window and its base-value window through the scripted driver, on the test databases
// with the company database held by the company-data window: a run over several layouts, the
// stop, the question after a missing file, the period check, closing, what the window keeps
// between openings, the values asked ten to a window, and the pace and last values of the
// progress display. Never leaves a window behind.
#include "batchload/frm_carico_batch.h"

#include <chrono>
#include <cmath>
#include <map>
#include <tuple>

#include "batch_fixture.h"
#include "batchload/frm_ric_val_base.h"
#include "companydata/frm_dati_azie.h"
#include "suite/menu/menu_client.h"
#include "ui/desktop.h"
#include "ui/scripted_driver.h"
#include "ui/user_input.h"

namespace tolvane::batchtest {
namespace {

const std::string kJournal = "INSERT INTO MovPnTes (Anno, NumReg, PreDoc) VALUES (2024, 1, NULL)";

// The progress display as the user reads it: phase | counts and their labels | bar.
std::string screen(const frmCaricoBatch& f) {
    if (!f.PicMsgElab.visible()) return "";
    std::string counts = f.Label1(0).caption() + " " + f.LabFatti.caption();
    for (const ui::Label* l : {&f.LabDi, &f.LabErrori, &f.labDaFare})
        if (l->visible()) counts += " " + l->caption();
    const auto bar = std::lround(100 * f.proDaFare.value() / f.proDaFare.max());
    return f.LabMsgElab.caption() + " | " + counts + " " + f.Label1(1).caption() + " | " +
           std::to_string(bar) + "%";
}

// The scripted driver that also notes what the progress display showed beside each message.
class ScreenDriver : public ui::ScriptedDriver {
  public:
    int message(const ui::MessageRequest& request) override {
        const frmCaricoBatch* f = ui::desktop().find<frmCaricoBatch>();
        screens.push_back(f ? screen(*f) : "");
        return ScriptedDriver::message(request);
    }
    std::vector<std::string> screens;  // one per message, in order
};

// Each change of the progress display's controls during one phase, by the DoEvents point it
// follows: what a display has to draw at that point.
class DrawWatch : public ui::UiObserver {
  public:
    DrawWatch(frmCaricoBatch& f, std::string phase) : f_(f), phase_(std::move(phase)) {
        ui::desktop().addObserver(this);
    }
    ~DrawWatch() override { ui::desktop().removeObserver(this); }
    void controlChanged(ui::Control& c, ui::Property p) override {
        if (!c.isInside(f_.PicMsgElab) || f_.LabMsgElab.caption() != phase_) return;
        const long tick = ui::desktop().doEventsCount();
        mostPerTick = std::max(mostPerTick, ++changes_[{tick, &c, p}]);
        if (&c == &f_.LabFatti && p == ui::Property::Caption) countsShown.push_back(tick);
    }
    long mostPerTick = 0;           // changes of one property of one control
    std::vector<long> countsShown;  // the ticks at which the line count changed

  private:
    frmCaricoBatch& f_;
    std::string phase_;
    std::map<std::tuple<long, const ui::Control*, ui::Property>, long> changes_;
};

class BatchWindowTest : public BatchTest {
  protected:
    void SetUp() override {
        ui::desktop().reset();
        BatchTest::SetUp();
        newScript();
        gsIdDbase = commonId;
        giStatoCarica = 0;
        gasGruppoIva = {};
        gasMastroIva = {};
        gasContoIva = {};
        gasCauNotaCred = {};
        ui::desktop().instance<frmDatiAzie>().osIdDbase = companyId;
    }
    void TearDown() override {
        driver.reset();
        ui::desktop().reset();
        BatchTest::TearDown();
    }

    // The window opened as the menu opens it; each progress step lets events through.
    frmCaricoBatch& open() {
        frmCaricoBatch& f = ui::desktop().load<frmCaricoBatch>();
        f.progressClock = [this] { return now += std::chrono::milliseconds(100); };
        f.DirCarica.setPath(folder.string());
        return f;
    }
    // A new script: the steps left for later DoEvents points belong to the window in use.
    void newScript() {
        driver.reset();
        driver = std::make_unique<ScreenDriver>();
        driver->setFailureHook([](const std::string& text) { ADD_FAILURE() << text; });
    }
    // Drops the windows left open, as a new start of the program would.
    void restart() {
        ui::desktop().reset();
        ui::desktop().setDriver(driver.get());
        ui::desktop().instance<frmDatiAzie>().osIdDbase = companyId;
        exec(commonId, "DELETE FROM CaricaFile; DELETE FROM CaricaDettaglio");
    }
    bool closed() const { return ui::desktop().find<frmCaricoBatch>() == nullptr; }

    // A layout of Prova by Codice alone, marked for batch runs unless `more` says otherwise,
    // with its input file.
    void codeOnly(const std::string& code, const std::vector<std::string>& lines,
                  Columns more = {{"batch", "S"}}) {
        more.insert(
            more.begin(),
            {{"Tabella", "Prova"}, {"Separatore", "\\059"}, {"Modalita", "0"}, {"InsVaria", "I"}});
        layout(code, more);
        field(code, "Codice", {{"NumCampo", "1"}});
        if (!lines.empty()) input(code + ".txt", lines);
    }
    // The same by Codice;Descr;Num.
    void batchLayout(const std::string& code, const std::vector<std::string>& lines,
                     Columns more = {{"batch", "S"}}) {
        codeOnly(code, lines, more);
        field(code, "Descr", {{"NumCampo", "2"}});
        field(code, "Num", {{"NumCampo", "3"}, {"TipoDest", "Long"}});
    }
    // P1: five prompts (one with a proposed value, one a counter) and two constants;
    // P2: seven prompts. Twelve prompts in all.
    void promptLayouts() {
        codeOnly("P1", {"A", "B"});
        field("P1", "Descr", {{"Default", "§ Descrizione § proposta "}});
        field("P1", "Num", {{"TipoDest", "Long"}, {"Default", "§##Progressivo"}});
        field("P1", "Importo", {{"Default", "§Importo"}, {"CostBatch", "12,5"}});
        field("P1", "Piccolo",
              {{"TipoDest", "Integer"}, {"Default", "§#1#Gruppo"}, {"CostBatch", "7"}});
        field("P1", "Qta", {{"Default", "§Quantità"}});
        field("P1", "Listino", {{"Default", "§Listino"}});
        field("P1", "Note", {{"Default", "§Note"}});

        codeOnly("P2", {"C"});
        for (const char* name : {"Descr", "Importo", "Listino", "Note", "Num", "Piccolo", "Qta"})
            field("P2", name, {{"Default", std::string("§") + name + "2"}});
    }

    std::vector<std::string> codes() const {
        std::vector<std::string> out;
        for (const auto& r : rows("SELECT Codice FROM Prova ORDER BY Codice")) out.push_back(r[0]);
        return out;
    }

    std::unique_ptr<ScreenDriver> driver;
    std::chrono::steady_clock::time_point now{};
};

// The next opening shows the accounts and credit-note causals typed last, not the carriers'.
TEST_F(BatchWindowTest, RunLoadsEveryBatchLayoutCountsRejectedLinesAndKeepsTheAccountsTyped) {
    batchLayout("L1", {"A;Alfa;1", "B;Beta;due"});
    batchLayout("L2", {"C;Gamma;3", ";Senza;4", "D;Delta;5"});
    batchLayout("L3", {"X;Escluso;9"}, {{"batch", "N"}});
    company(kJournal);
    frmCaricoBatch& f = open();
    for (int i = 10; i <= 230; i += 10) f.txt(i).setText(std::to_string(i));
    f.txt(240).setText("T");
    f.CheCodFisc.setValue(1);
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

    frmCaricoBatch& again = open();
    for (int i = 10; i <= 210; i += 10)
        EXPECT_EQ(again.txt(i).text(), std::to_string(i)) << "txt(" << i << ")";
    for (int i : {220, 230, 240}) EXPECT_EQ(again.txt(i).text(), "") << "txt(" << i << ")";
    EXPECT_EQ(again.CheCodFisc.value(), 0);
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
        EXPECT_EQ(f.LabFatti.caption(), c.fatti);
        EXPECT_EQ(f.txt(220).text() + "|" + f.txt(230).text(), c.trasp2 + "|");
    }
    EXPECT_EQ(one("SELECT PreDoc FROM MovPnTes"), ".") << "on the company database";
    EXPECT_EQ(gsIdDbase, commonId);
    EXPECT_FALSE(closed());
}

// A refused stop goes on; a confirmed one keeps the lines loaded, all committed, and skips the
// layout's final queries and the layouts after it, but not the fix-up.
TEST_F(BatchWindowTest, StopBetweenLinesStartsNoFurtherLayoutButRunsTheFixUp) {
    std::vector<std::string> lines;
    for (char c = 'A'; c <= 'T'; ++c) lines.push_back(std::string(1, c) + ";Riga;1");
    batchLayout("L1", lines, {{"batch", "S"}, {"QueryFin1", "Delete From Prova"}});
    batchLayout("L2", {"Z;Ultima;1"});
    company(kJournal);
    frmCaricoBatch& f = open();
    int presses = 0;
    bool closeRefused = false;
    int closeAfterStop = -1;  // -1 not tried, 0 refused, 1 closed
    for (int n = 1; n <= 200; ++n) {
        driver->atDoEvents(n, [&] {
            if (presses == 2 && closeAfterStop < 0) closeAfterStop = ui::user::close(f) ? 1 : 0;
            if (presses == 2 || f.LabMsgElab.caption() != "Caricamento L1" ||
                f.LabFatti.caption() != std::to_string(presses + 2))
                return;
            ++presses;
            closeRefused = !ui::user::close(f);
            ui::user::click(f.ComStop);
        });
    }
    driver->answerMessage("Confermi Interruzione Caricamento", 2);
    driver->answerMessage("Confermi Interruzione Caricamento", 1);
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);

    EXPECT_EQ(driver->messageTexts().back(), "Elaborazione terminata");
    EXPECT_EQ(presses, 2);
    EXPECT_TRUE(closeRefused) << "the window cannot close while it loads";
    EXPECT_EQ(closeAfterStop, 0) << "nor while the run ends after a stop";
    EXPECT_EQ(codes(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_NE(sqlite3_get_autocommit(goDbase().connection(companyId).db), 0) << "all committed";
    EXPECT_EQ(one("SELECT PreDoc FROM MovPnTes"), ".");
    EXPECT_TRUE(closed());
    EXPECT_EQ(giStatoCarica, 0);
    EXPECT_EQ(gsIdDbase, commonId);
}

// While a file loads the bar shows the share of its bytes read (the lines here are all of one
// length, so after k of n lines it stands at k/n), with the lines and errors counted beside it.
// A run cut short by the stop button ends with the same message as a whole one.
TEST_F(BatchWindowTest, BarFollowsTheFileAndAStoppedRunEndsAsAWholeOne) {
    constexpr int kLines = 40;
    const struct {
        int stopAt;  // line after which the stop is confirmed; 0: never
        int rejectEvery;
        std::size_t stored;  // rows of both layouts: the second one runs only without a stop
        std::string end;
    } cases[] = {
        {0, 0, kLines + 1, "Elaborazione terminata"},
        {10, 0, 10, "Elaborazione terminata"},
        {1, 0, 1, "Elaborazione terminata"},
        {25, 7, 22,
         "Elaborazione terminata con 3 errori\nmemorizzati nell'archivio 'ErroriCaricamento'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("stop at " + std::to_string(c.stopAt));
        std::vector<std::string> lines;
        for (int i = 1; i <= kLines; ++i) {
            char line[32];
            std::snprintf(line, sizeof line, "R%03d;Riga;%c", i,
                          c.rejectEvery && i % c.rejectEvery == 0 ? 'x' : '1');
            lines.push_back(line);
        }
        batchLayout("L1", lines);
        batchLayout("L2", {"Z;Dopo;1"});
        frmCaricoBatch& f = open();
        std::vector<std::pair<long, double>> seen;  // lines shown, bar in percent
        bool stopped = false;
        for (int n = 1; n <= 200; ++n)
            driver->atDoEvents(n, [&] {
                if (f.LabMsgElab.caption() != "Caricamento L1") return;
                const long done = std::stol(f.LabFatti.caption());
                seen.emplace_back(done, f.proDaFare.value() * 100 / f.proDaFare.max());
                if (c.stopAt != 0 && done == c.stopAt && !stopped) {
                    stopped = true;
                    ui::user::click(f.ComStop);
                }
            });
        if (c.stopAt) driver->answerMessage("Confermi Interruzione Caricamento", 1);
        driver->answerMessage(c.end, 1);
        ui::user::click(f.comOk);

        EXPECT_EQ(driver->messageTexts().back(), c.end);
        EXPECT_EQ(codes().size(), c.stored);
        ASSERT_FALSE(seen.empty());
        for (const auto& [done, percent] : seen)
            EXPECT_NEAR(percent, 100.0 * static_cast<double>(done) / kLines, 1e-9)
                << "after " << done << " lines";
        EXPECT_EQ(seen.back().first, c.stopAt ? c.stopAt : kLines);
        company("DELETE FROM Prova; DELETE FROM ErroriCaricamento");
        newScript();
        restart();
    }
}

// However many lines go by between two event ticks, each control of the progress display
// changes at most once per tick: the load's changes are gathered and drawn at the events' pace.
TEST_F(BatchWindowTest, LoadReachesTheDisplayAtMostOncePerEventTick) {
    constexpr int kLines = 60;
    std::vector<std::string> lines;
    for (int i = 1; i <= kLines; ++i) lines.push_back("R" + std::to_string(i) + ";Riga;1");
    batchLayout("L1", lines);
    frmCaricoBatch& f = open();
    // Events go through at every fifth step of the load.
    f.progressClock = [this] { return now += std::chrono::milliseconds(10); };
    DrawWatch watch(f, "Caricamento L1");
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);

    EXPECT_EQ(watch.mostPerTick, 1);
    EXPECT_NEAR(static_cast<double>(watch.countsShown.size()), kLines / 5.0, 1.0);
    EXPECT_EQ(codes().size(), static_cast<std::size_t>(kLines));
}

// Beside each message the display shows the load's last values, however seldom events went
// through; the final message stands beside the fix-up's count and an empty bar, also when the
// last layout was refused with its bar full. A stop by the user ends as a whole run does; a stop
// by another program's lock says so first.
TEST_F(BatchWindowTest, MessagesStandBesideTheLoadsLastValues) {
    enum class End { Whole, UserStop, LockStop, MissingFile, UnusableLayout };
    const std::string fixUp = "Sistemazione Prima Nota | Elaborate: 9 Query | 0%";
    const std::string atTen = "Caricamento L1 | Letti: 10 Errori: 1 Records | 25%";
    const std::string errors = " errori\nmemorizzati nell'archivio 'ErroriCaricamento'";
    const std::string opening =
        "Cancellazione Tabella Errori Caricamento | Letti: 0 Errori: 0 Records | 0%";
    const struct {
        const char* name;
        End end;
        int tickAt;  // besides the first, the one step of the run that lets events through;
                     // -1 none, 0 every step
        std::vector<std::pair<std::string, std::string>> shown;  // message, display beside it
    } cases[] = {
        // Events go through last while the layout is read, before "di" goes.
        {"whole run", End::Whole, 3, {{"Elaborazione terminata con 2" + errors, fixUp}}},
        {"stop by the user",
         End::UserStop,
         0,
         {{"Confermi Interruzione Caricamento", atTen},
          {"Elaborazione terminata con 1" + errors, fixUp}}},
        {"stop by a lock",
         End::LockStop,
         0,
         {{"I dati da aggiornare sono bloccati da un altro programma.\nCaricamento fermato alla "
           "riga 11 del file " +
               (folder / "L1.txt").string() + ": le righe precedenti sono state memorizzate.",
           atTen},
          {"Elaborazione terminata con 1" + errors, fixUp}}},
        {"missing file",
         End::MissingFile,
         -1,
         {{"Errore nell'apertura del file: " + (folder / "L2.txt").string(), opening},
          {"Vuoi caricare i files successivi?", opening},
          {"Elaborazione terminata con 2" + errors, fixUp}}},
        {"layout refused while its decodes are read",
         End::UnusableLayout,
         -1,
         {{"Errore(5): Chiamata di routine o argomento non validi: decodifica per Prova.Nessuno, "
           "che non è un campo del tracciato",
           " | Letti: 1 di 1 Records | 100%"},
          {"Elaborazione terminata con 2" + errors,
           "Sistemazione Prima Nota | Elaborate: 9 di Query | 0%"}}},
    };
    const auto savedWait = goDbase().busyWait();
    goDbase().setBusyWait(std::chrono::milliseconds(50));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines;
        for (int i = 1; i <= 40; ++i)
            lines.push_back("R" + std::to_string(100 + i) + ";Riga;" +
                            (i == 7 || i == 30 ? "x" : "1"));
        batchLayout("L1", lines);
        if (c.end == End::MissingFile) batchLayout("L2", {});
        if (c.end == End::UnusableLayout) {
            batchLayout("L2", {"Z;Dopo;1"});
            insertRow("CaricaDecod", {{"Codice", "L2"},
                                      {"Tabella", "Prova"},
                                      {"NomeCampo", "Nessuno"},
                                      {"ValOrig", "a"},
                                      {"ValDest", "b"}});
        }
        frmCaricoBatch& f = open();
        f.progressClock = [this, &c, step = 0]() mutable {
            ++step;
            const bool tick = c.tickAt == 0 || step == c.tickAt;
            return now += std::chrono::milliseconds(tick ? 100 : 0);
        };
        f.loaderSetUp = [](ScCarica& carico) {
            carico.setCommitEvery(1);
            carico.setLockRetryPause(std::chrono::milliseconds(0));
        };
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(scratch.file("ditta.db").c_str(), &other), SQLITE_OK);
        bool acted = false;
        for (int n = 1; n <= 200; ++n)
            driver->atDoEvents(n, [&] {
                if (f.LabMsgElab.caption() == "Sistemazione Prima Nota")
                    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
                if (acted || screen(f) != atTen) return;
                acted = true;
                if (c.end == End::UserStop) ui::user::click(f.ComStop);
                if (c.end == End::LockStop) {
                    EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr),
                              SQLITE_OK);
                }
            });
        for (const auto& [text, display] : c.shown)
            driver->answerMessage(text, text.rfind("Vuoi", 0) == 0 ? 2 : 1);
        ui::user::click(f.comOk);

        std::vector<std::pair<std::string, std::string>> shown;
        const auto texts = driver->messageTexts();
        for (std::size_t i = 0; i < texts.size(); ++i)
            shown.emplace_back(texts[i], driver->screens.at(i));
        EXPECT_EQ(shown, c.shown);
        sqlite3_close(other);
        company("DELETE FROM Prova; DELETE FROM ErroriCaricamento");
        newScript();
        restart();
    }
    goDbase().setBusyWait(savedWait);
}

// Yes goes on with the next layout, no ends the run (the fix-up still runs).
TEST_F(BatchWindowTest, MissingFileAsksWhetherToGoOn) {
    company(kJournal);
    batchLayout("L1", {"A;Alfa;1"});
    batchLayout("L2", {});
    batchLayout("L3", {"C;Gamma;3"});
    batchLayout("L4", {});
    batchLayout("L5", {"E;Epsilon;5"});
    frmCaricoBatch& f = open();
    driver->answerMessage("Errore nell'apertura del file", 1);
    driver->answerMessage("Vuoi caricare i files successivi?", 1);
    driver->answerMessage("Errore nell'apertura del file", 1);
    driver->answerMessage("Vuoi caricare i files successivi?", 2);
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);
    EXPECT_EQ(codes(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(one("SELECT PreDoc FROM MovPnTes"), ".");
    EXPECT_TRUE(closed());
}

TEST_F(BatchWindowTest, CarriersCausalsNeedTheVatPeriod) {
    const struct {
        std::string causale, periodo;
        bool runs;
    } cases[] = {
        {"TR", "x", false}, {"TR", "", false}, {"TR", "m", true}, {"", "", true}, {"", "x", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE("causale '" + c.causale + "' periodo '" + c.periodo + "'");
        batchLayout("L1", {"A;Alfa;1"});
        frmCaricoBatch& f = open();
        f.txt(230).setText(c.causale);
        f.txt(240).setText(c.periodo);
        if (c.runs) driver->answerMessage("Elaborazione terminata", 1);
        else driver->answerMessage("Ditta Mensile o Trimestrale OBBLIGATORIO!!", 1);
        ui::user::click(f.comOk);
        EXPECT_EQ(closed(), c.runs);
        EXPECT_EQ(codes().size(), c.runs ? 1u : 0u);
        if (!c.runs) {
            EXPECT_EQ(f.txt(240).backColor(), glColErrore);
            EXPECT_TRUE(f.comOk.visible());
        }
        company("DELETE FROM Prova");
        restart();
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
    ui::user::click(f.ComAnnulla);
    EXPECT_FALSE(closed());
    driver->answerMessage("Confermi annullamento caricamento batch", 1);
    ui::user::close(f);
    EXPECT_TRUE(closed());
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

TEST_F(BatchWindowTest, TwelvePromptsAskTenThenTwoAndReachTheLoadedRows) {
    promptLayouts();
    const std::map<std::string, std::string> values = {
        {"Quantità:", "1,5"},   {"Listino:", "EU"}, {"Note:", "nota1"},  {"Progressivo:", "100"},
        {"Descr2:", "seconda"}, {"Importo2:", "3"}, {"Listino2:", "L2"}, {"Note2:", "nota2"},
        {"Num2:", "7"},         {"Piccolo2:", "2"}, {"Qta2:", "4"}};
    // Each window's visible rows as shown, by caption; then the user fills them.
    std::vector<std::map<std::string, std::string>> windows;
    for (int window = 1; window <= 2; ++window) {
        driver->onForm("frmRicValBase", [&](ui::Form& form) {
            auto& r = static_cast<frmRicValBase&>(form);
            auto& shown = windows.emplace_back();
            for (int i = 0; i < frmRicValBase::kRighe; ++i) {
                if (!r.txt(i).visible()) continue;
                shown[r.Lab(i).caption()] = r.txt(i).text();
                if (auto it = values.find(r.Lab(i).caption()); it != values.end())
                    r.txt(i).setText(it->second);
            }
            ui::user::click(r.comOk);
        });
    }
    frmCaricoBatch& f = open();
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);

    // The proposed value shown, the constants not asked, no text left from the first window.
    EXPECT_EQ(windows, (std::vector<std::map<std::string, std::string>>{
                           {{"Descrizione:", "proposta"},
                            {"Progressivo:", ""},
                            {"Quantità:", ""},
                            {"Listino:", ""},
                            {"Note:", ""},
                            {"Descr2:", ""},
                            {"Importo2:", ""},
                            {"Listino2:", ""},
                            {"Note2:", ""},
                            {"Num2:", ""}},
                           {{"Piccolo2:", ""}, {"Qta2:", ""}}}));
    EXPECT_EQ(rows("SELECT Codice, Descr, Num, Importo, Piccolo, Qta, Listino, Note FROM Prova "
                   "ORDER BY Codice"),
              (Rows{{"A", "proposta", "101", "12.5", "8", "1.5", "EU", "nota1"},
                    {"B", "proposta", "102", "12.5", "8", "1.5", "EU", "nota1"},
                    {"C", "seconda", "7", "3", "2", "4.0", "L2", "nota2"}}));
    EXPECT_EQ(ui::desktop().find<frmRicValBase>(), nullptr);
}

TEST_F(BatchWindowTest, CancelInAnyWindowEndsTheRunBeforeAnythingIsLoaded) {
    for (int cancelAt : {1, 2}) {
        SCOPED_TRACE(cancelAt);
        promptLayouts();
        frmCaricoBatch& f = open();
        for (int window = 1; window <= cancelAt; ++window)
            driver->onForm("frmRicValBase", [window, cancelAt](ui::Form& form) {
                auto& r = static_cast<frmRicValBase&>(form);
                ui::user::click(window == cancelAt ? r.ComAnnulla : r.comOk);
            });
        ui::user::click(f.comOk);
        EXPECT_TRUE(driver->messageTexts().empty());
        EXPECT_TRUE(codes().empty());
        EXPECT_FALSE(closed());
        EXPECT_TRUE(f.comOk.visible());
        EXPECT_EQ(giStatoCarica, 0);
        EXPECT_EQ(gsIdDbase, commonId);
        EXPECT_EQ(ui::desktop().find<frmRicValBase>(), nullptr);
        restart();
    }
}

TEST_F(BatchWindowTest, ConstantsAloneAreStoredWithoutAskingAnything) {
    codeOnly("P4", {"A", "B"});
    field("P4", "Descr", {{"Default", "§Descrizione"}, {"CostBatch", "fissa"}});
    field("P4", "Num", {{"TipoDest", "Long"}, {"Default", "§#K#Progressivo"}, {"CostBatch", "40"}});
    frmCaricoBatch& f = open();
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);
    EXPECT_EQ(rows("SELECT Codice, Descr, Num FROM Prova ORDER BY Codice"),
              (Rows{{"A", "fissa", "41"}, {"B", "fissa", "42"}}));
    EXPECT_EQ(driver->messageTexts(), (std::vector<std::string>{"Elaborazione terminata"}))
        << "the plain end message when no line is rejected";
}

TEST_F(BatchWindowTest, CounterWithoutItsSecondHashIsARunTimeError) {
    codeOnly("P3", {"A"});
    field("P3", "Piccolo", {{"Default", "§#Conta"}});
    frmCaricoBatch& f = open();
    driver->answerMessage("Errore(5)", 1);
    ui::user::click(f.comOk);
    EXPECT_FALSE(closed());
    EXPECT_TRUE(codes().empty());
    EXPECT_EQ(ui::desktop().find<frmRicValBase>(), nullptr);
}

}  // namespace
}  // namespace tolvane::batchtest
