// A list print: its dialog (refusals, columns, orientation, font, default printer, where the print
// goes), the print-in-progress window with its stop button, and the on-screen preview (paging,
// kept page files, Esci while the print runs, the layout of the viewing area).
#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "printing/stampa_lista_fixture.h"
#include "support/pdf_check.h"
#include "support/workbook_check.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

using ui::user::click;
using FrmVedrixStampaTest = StampaListaTest;

TEST_F(FrmVedrixStampaTest, OnlyOnePrintAtATimeAndAMissingChoiceOfAnEnabledFrameIsRefused) {
    FrmVedrixStampa& running = dialogFor(OpzStampa::kStampante);
    giStaAtt = 1;
    driver.answerMessage("Si può lanciare solo una stampa alla volta", 1);
    click(running.CmdStampa);
    EXPECT_EQ(lista.ogSta.ogOpzSta, nullptr) << "nothing started";
    EXPECT_EQ(running.ogVedrix(), &lista);
    giStaAtt = 0;
    running.unload();

    for (const auto& [orientation, columns, message, focus] :
         std::vector<std::tuple<bool, bool, std::string, std::string>>{
             {false, true, "Scegliere un' orientamento", "OptOrientamento(0)"},
             {true, false, "Scegliere un tipo di stampa", "OptTipsta(0)"}}) {
        FrmVedrixStampa& dialog = openDialog();
        dialog.opzioni()->StaVid = OpzStampa::kStampante;
        if (orientation) dialog.OptOrientamento(1).setValue(true);
        if (columns) dialog.OptTipsta(1).setValue(true);
        driver.answerMessage(message, 1);
        click(dialog.CmdStampa);
        ASSERT_NE(dialog.activeControl(), nullptr);
        EXPECT_EQ(dialog.activeControl()->displayName(), focus);
        EXPECT_EQ(dialog.ogVedrix(), &lista);
        dialog.unload();
    }
    EXPECT_TRUE(queue->jobs().empty());
}

TEST_F(FrmVedrixStampaTest, OrientationAndForcedPortraitShapeThePrintedPage) {
    // Option -1: none chosen, the frame disabled.
    for (const auto& [option, forzaVert, landscape] : std::vector<std::tuple<int, bool, bool>>{
             {0, false, true}, {1, false, false}, {0, true, false}, {-1, false, false}}) {
        FrmVedrixStampa& dialog = openDialog();
        dialog.opzioni()->StaVid = OpzStampa::kStampante;
        dialog.opzioni()->ForzaVert = forzaVert;
        if (option >= 0) dialog.OptOrientamento(option).setValue(true);
        dialog.OptTipsta(1).setValue(true);
        dialog.fraOrientamento.setEnabled(option >= 0);
        click(dialog.CmdStampa);
        ASSERT_FALSE(queue->jobs().empty());
        const PdfFacts pdf = pdfFactsOf(queue->jobs().back().content);
        EXPECT_EQ(pdf.width > pdf.height, landscape) << option;
        dialog.unload();
    }
    EXPECT_EQ(queue->jobs().size(), 4u);
}

TEST_F(FrmVedrixStampaTest, ColumnChoiceDecidesTheColumnsWritten) {
    // Option -1: none chosen, the frame disabled.
    for (const auto& [option, header] :
         std::vector<std::pair<int, std::string>>{{1, "Codice;Descrizione;Nascosta"},
                                                  {0, "Codice;Descrizione"},
                                                  {-1, "Codice;Descrizione"}}) {
        FrmVedrixStampa& dialog = openDialog();
        OpzStampa& opz = *dialog.opzioni();
        opz.StaVid = OpzStampa::kFile;
        opz.FileName = folder.file("lista.csv");
        opz.SepCampi = ";";
        opz.DelimStr = "";
        dialog.OptOrientamento(1).setValue(true);
        if (option >= 0) dialog.OptTipsta(option).setValue(true);
        dialog.FraTipSta.setEnabled(option >= 0);
        click(dialog.CmdStampa);
        std::string text = ScratchFolder::read(opz.FileName);
        EXPECT_EQ(text.substr(0, text.find("\r\n")), "\xEF\xBB\xBF" + header);
        dialog.unload();
    }
}

TEST_F(FrmVedrixStampaTest, FailuresAreShownAndNothingIsPrinted) {
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
    dialog.opzioni()->StampanteOpz = "Magazzino";
    giStampDefCambiata = 1;
    driver.answerMessage("per stampare su Magazzino uscire dal programma e rientrare", 1);
    click(dialog.CmdStampa);
    EXPECT_EQ(dialog.ogVedrix(), &lista);

    dialog.opzioni()->StampanteOpz.clear();
    queue->refuseWith("carta esaurita");
    driver.answerMessage("carta esaurita", 1);
    click(dialog.CmdStampa);

    queue->refuseWith("");
    openDialog();
    dialog.opzioni()->StaVid = OpzStampa::kFile;
    dialog.opzioni()->FileName = folder.file("manca/lista.xlsx");
    dialog.opzioni()->FileForm = 2;
    driver.answerMessage("Impossibile scrivere il file " + folder.file("manca/lista.xlsx"), 1);
    click(dialog.CmdStampa);

    EXPECT_TRUE(queue->jobs().empty());
    EXPECT_FALSE(std::filesystem::exists(folder.file("manca")));
    EXPECT_EQ(giStaAtt, 0);
}

// Values cut to fit a workbook's cells are told once, at the end of the print, by column and
// row; a print that cuts nothing tells nothing.
TEST_F(FrmVedrixStampaTest, CellsCutInAWorkbookAreToldOnceAtTheEnd) {
    const std::string longText(40000, 'x');
    lista.rows[1][1] = longText;
    lista.rows[6][1] = longText;
    lista.rows[6][2] = longText;  // hidden: not printed
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kFile);
    OpzStampa& opz = *dialog.opzioni();
    opz.FileForm = 2;
    opz.FileName = folder.file("lista.xlsx");
    driver.answerMessage("Nel file " + opz.FileName +
                             " alcuni valori superano i 32.767 caratteri di una cella di Excel: ne "
                             "sono stati scritti i primi 32.767.\r\nColonna Descrizione (B): "
                             "righe 3, 8",
                         1);
    click(dialog.CmdStampa);
    EXPECT_EQ(driver.messageTexts().size(), 1u);
    const Workbook book(opz.FileName);
    EXPECT_EQ(book.cell("B3").value, std::string(32767, 'x'));
    EXPECT_EQ(book.cell("B4").value, "Azienda 3");
    EXPECT_EQ(giStaAtt, 0);

    lista.rows[1][1] = "Azienda 2";
    lista.rows[6][1] = "Azienda 7";
    openDialog();
    click(dialog.CmdStampa);
    EXPECT_EQ(driver.messageTexts().size(), 1u);
    EXPECT_EQ(Workbook(opz.FileName).cell("B3").value, "Azienda 2");
}

// After a print the button waits for the next list; the default printer button empties the
// print's printer, so each print goes to the default of its moment; exit gives a fresh dialog.
TEST_F(FrmVedrixStampaTest, EachListPrintsAfreshToTheDefaultOfItsMoment) {
    addPrinter("Magazzino", "ipp://magazzino");
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
    dialog.opzioni()->StampanteOpz = "Magazzino";
    click(dialog.CmdStampa);
    EXPECT_FALSE(dialog.CmdStampa.enabled());
    click(dialog.ComUsaDef);
    EXPECT_EQ(dialog.opzioni()->StampanteOpz, "");
    EXPECT_EQ(dialog.opzioni()->StampanteOpz2, "ipp://ufficio");
    EXPECT_NE(dialog.labStaAttuale.caption().find("stampante predefinita (Ufficio)"),
              std::string::npos);
    for (const char* predefinita : {"Ufficio", "Magazzino"}) {
        printers->setServerDefault(predefinita);
        openDialog();
        EXPECT_TRUE(dialog.CmdStampa.enabled());
        click(dialog.CmdStampa);
        EXPECT_EQ(queue->jobs().back().job.printer, predefinita);
    }
    EXPECT_EQ(queue->jobs().size(), 3u);

    dialog.OptOrientamento(0).setValue(true);
    click(dialog.CmdEsci);
    EXPECT_TRUE(dialog.unloadedForGood());
    FrmVedrixStampa& second = openDialog();
    EXPECT_NE(&second, &dialog);
    EXPECT_TRUE(second.visible());
    EXPECT_FALSE(second.OptOrientamento(0).value());
    EXPECT_EQ(second.ogVedrix(), &lista);
    EXPECT_EQ(second.opzioni()->NomeStampa(), "Elenco aziende");
}

// Both INI files hold a set for every print and one for this print; the terminal's wins in each.
TEST_F(FrmVedrixStampaTest, SavedSetsReachThePrintTheTerminalsOverTheCommonOnes) {
    gsFileIni = folder.write("terminale.ini",
                             "[Opzioni Stampa]\r\nFileName=terminale.csv\r\n"
                             "[Elenco aziende]\r\nNomeStampante=Ufficio\r\nFisColonne=90\r\n");
    gsFileIniComune =
        folder.write("comune.ini",
                     "[Opzioni Stampa]\r\nStaVid=2\r\nFileName=comune.csv\r\nFisColonne=70\r\n"
                     "[Elenco aziende]\r\nNomeStampante=Magazzino\r\nFisRighe=60\r\n");
    const OpzStampa& opz = *openDialog().opzioni();
    EXPECT_EQ(opz.StampanteOpz, "Ufficio") << "the terminal's own section of the print";
    EXPECT_EQ(opz.FileName, "terminale.csv") << "the terminal's defaults";
    EXPECT_EQ(opz.FisColonne, 90);
    EXPECT_EQ(opz.FisRighe, 60) << "what only the common file holds";
    EXPECT_EQ(opz.StaVid, OpzStampa::kFile);
}

TEST_F(FrmVedrixStampaTest, FontChoiceReachesThePrintAndCancelKeepsIt) {
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
    const ui::Font chosen{"Courier New", 12, true, true};
    driver.chooseFont(chosen).cancelFontDialog();
    click(dialog.CmdSceFont);
    click(dialog.CmdSceFont);
    EXPECT_EQ(dialog.fontStampa(), chosen);
    click(dialog.CmdStampa);
    ASSERT_EQ(queue->jobs().size(), 1u);
    const PdfFacts pdf = pdfFactsOf(queue->jobs()[0].content);
    EXPECT_TRUE(embeddedFont(pdf, "LiberationMono-BoldItalic")) << pdf.fonts;
    // A line of a 12-point face is about 13.6 points high; of the first 10 points, 11.3.
    EXPECT_NEAR(wordHeight(pdf, "Codice"), 13.6, 0.5) << pdf.boxes.substr(0, 2000);
}

TEST_F(FrmVedrixStampaTest, StopButtonEndsAPrintBeforeItReachesThePrinterAndNeedsAnEngine) {
    // The stop is pressed at a DoEvents point of the print (0: never).
    for (const auto& [staVid, stopAt, produced] :
         std::vector<std::tuple<int, int, bool>>{{OpzStampa::kStampante, 2, false},
                                                 {OpzStampa::kStampante, 0, true},
                                                 {OpzStampa::kFissa, 1, false},
                                                 {OpzStampa::kFile, 1, false}}) {
        queue = std::make_shared<MemoryPrintQueue>();
        setPrintQueue(queue);
        FrmVedrixStampa& dialog = dialogFor(staVid);
        dialog.opzioni()->FileName = folder.file("lista.csv");
        dialog.opzioni()->FisFileName = folder.file("fissa.txt");
        std::vector<std::string> pages;
        auto& progress = ui::desktop().instance<frmStampaInCorso>();
        driver.atDoEvents(1, [&] { pages.push_back(progress.LblPag.caption()); });
        if (stopAt > 0) {
            driver.atDoEvents(stopAt, [&] {
                EXPECT_TRUE(progress.visible());
                click(progress.ComSTampa);
                click(progress.ComSTampa);
            });
        }
        click(dialog.CmdStampa);
        EXPECT_EQ(pages, std::vector<std::string>{"001"});
        EXPECT_EQ(!queue->jobs().empty() || std::filesystem::exists(folder.file("lista.csv")) ||
                      std::filesystem::exists(folder.file("fissa.txt")),
                  produced)
            << staVid << " stop at " << stopAt;
        EXPECT_FALSE(progress.visible());
        EXPECT_EQ(progress.ogStampa(), nullptr);
        EXPECT_EQ(giStaAtt, 0);
        dialog.unload();
    }

    // A stop with no engine does nothing; the engine is dropped at unload.
    ui::desktop().reset();
    ui::desktop().setDriver(&driver);
    gdRisVidStampa = 1.5;
    auto& progress = ui::desktop().load<frmStampaInCorso>();
    EXPECT_EQ(progress.odRisVidVal, 1.5);
    ASSERT_NE(progress.zoomApart(progress.PicVusk), nullptr);
    EXPECT_TRUE(progress.zoomApart(progress.PicVusk)->keepsSize);
    progress.ComStampa_Click();
    progress.ComStampa_Click();
    auto engine = std::make_shared<MotoreStampaLista>(std::make_shared<OpzStampa>(), PrintList{},
                                                      PageSetup{});
    progress.ogStampa(engine);
    progress.ComStampa_Click();
    EXPECT_TRUE(engine->StampaInterrotta());
    progress.unload();
    EXPECT_EQ(progress.ogStampa(), nullptr);
    EXPECT_EQ(engine.use_count(), 1);
}

class FrmVStampaTest : public StampaListaTest {
  protected:
    // A video print of the list (200 rows: four pages at the normal size).
    FrmVedrixStampa& videoDialog(int memVid) {
        FrmVedrixStampa& dialog = dialogFor(OpzStampa::kVideo);
        dialog.opzioni()->MemVid = memVid;
        dialog.opzioni()->Fatt = 1;
        return dialog;
    }
    // At the n-th wait of the engine from the start of the print: which arrows can move and
    // what the preview shows (page label and which drawn page the picture is), then the arrow
    // (0: Esci; a negative one stands disabled, and its handler is reached by code).
    void arrowAt(int n, int arrow) {
        driver.atDoEvents(n, [this, arrow] {
            states.push_back(arrows(preview()));
            seen.push_back(shown());
            if (arrow == 0) click(preview().comEsci);
            else if (arrow > 0) click(preview().imaMuovi(arrow));
            else preview().imaMuovi_Click(-arrow);
        });
    }
    // Which arrows can move, left to right (first, previous, next, last): "1101".
    static std::string arrows(FrmVStampa& p) {
        std::string on;
        for (int i = 1; i <= 4; ++i) {
            const bool enabled = p.imaMuovi(i).enabled();
            on += enabled ? '1' : '0';
            EXPECT_EQ(p.imaMuovi(i).picture(), p.ImlFrecce.picture(enabled ? i : i + 4))
                << "arrow " << i << " drawn as it stands";
        }
        return on;
    }
    // "#k" names the k-th different page picture seen: a page shown again from its file must
    // be the very picture drawn for it.
    std::string shown() {
        FrmVStampa& p = preview();
        const std::string bytes = p.PicSec.picture() ? p.PicSec.picture()->data : "";
        auto known = std::find(pictures.begin(), pictures.end(), bytes);
        if (known == pictures.end()) known = pictures.insert(pictures.end(), bytes);
        return p.labPage.caption() + " #" + std::to_string(known - pictures.begin() + 1);
    }

    std::vector<std::string> pictures;
    std::vector<std::string> seen;
    std::vector<std::string> states;
};

TEST_F(FrmVStampaTest, KeptPagesPageForwardAndBack) {
    FrmVedrixStampa& dialog = videoDialog(1);
    int n = 0;
    for (int arrow : {3, 2, 3, 3, 1, 4, 3}) arrowAt(++n, arrow);
    click(dialog.CmdStampa);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"Pag.001 #1", "Pag.002 #2", "Pag.001 #1", "Pag.002 #2",
                                        "Pag.003 #3", "Pag.001 #1", "Pag.003 #3"}));
    // Page 1 moves only forward; a page before the newest one goes both ways.
    EXPECT_EQ(states,
              (std::vector<std::string>{"0010", "1110", "0011", "1110", "1110", "0011", "1110"}));
    EXPECT_EQ(shown(), "Pag.004 #4");
    FrmVStampa& p = preview();
    EXPECT_EQ(p.LabMsg.caption(), "Stampa Terminata");
    EXPECT_EQ(arrows(p), "1100") << "the last page of the print: only back";
    std::string base = p.filePagine();
    EXPECT_EQ(pageFiles(base).size(), 3u);

    click(p.imaMuovi(2));  // keeps the last page before leaving it
    EXPECT_EQ(shown(), "Pag.003 #3");
    EXPECT_EQ(pageFiles(base).size(), 4u);
    EXPECT_EQ(arrows(p), "1111");
    click(p.imaMuovi(4));
    EXPECT_EQ(shown(), "Pag.004 #4");
    p.imaMuovi_Click(3);  // after the end nothing moves
    EXPECT_EQ(shown(), "Pag.004 #4");
    click(p.comEsci);
    EXPECT_TRUE(p.unloadedForGood());
    EXPECT_TRUE(pageFiles(base).empty());
}

TEST_F(FrmVStampaTest, PagesNotKeptOnlyGoForward) {
    lista.rows.resize(100);
    FrmVedrixStampa& dialog = videoDialog(0);
    for (int n = 1; n <= 3; ++n) {
        driver.atDoEvents(n, [this, n] {
            FrmVStampa& p = preview();
            EXPECT_FALSE(p.imaMuovi(1).enabled());
            if (n < 3) {
                p.imaMuovi_Click(n == 1 ? 1 : 2);  // first, previous: nothing
                EXPECT_EQ(shown(), "Pag.001 #1");
            } else {
                click(p.imaMuovi(3));
            }
        });
    }
    click(dialog.CmdStampa);
    EXPECT_EQ(shown(), "Pag.002 #2");
    EXPECT_FALSE(preview().imaMuovi(3).enabled()) << "nothing to keep at the end";
    EXPECT_TRUE(pageFiles(preview().filePagine()).empty());
    preview().imaMuovi_Click(4);
    EXPECT_EQ(shown(), "Pag.002 #2");
}

TEST_F(FrmVStampaTest, PageRangeBoundsFirstAndPrevious) {
    FrmVedrixStampa& dialog = videoDialog(1);
    dialog.opzioni()->ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(2L));
    dialog.opzioni()->ScriviParStampa("PaginaA", OpzStampa::kTipoAltro, Variant(4L));
    int n = 0;
    // Previous and first stand disabled on the range's first page: their handlers, reached by
    // code, move nothing either.
    for (int arrow : {3, 2, -2, -1, 0}) arrowAt(++n, arrow);
    click(dialog.CmdStampa);
    EXPECT_EQ(seen, (std::vector<std::string>{"Pag.002 #1", "Pag.003 #2", "Pag.002 #1",
                                              "Pag.002 #1", "Pag.002 #1"}));
    EXPECT_EQ(states, (std::vector<std::string>{"0010", "1110", "0011", "0011", "0011"}))
        << "the range's first page is as far back as it goes";
    EXPECT_TRUE(lista.ogSta.engine()->StampaInterrotta());
}

TEST_F(FrmVStampaTest, EsciStopsTheRunningPrintAndTheWindowClosesAfterIt) {
    // Esci on the first page (nothing kept yet) or on the second (the first kept).
    for (int esciAt : {1, 3}) {
        FrmVedrixStampa& dialog = videoDialog(1);
        if (esciAt == 3) {
            driver.atDoEvents(1, [this] { click(preview().imaMuovi(3)); });
            driver.atDoEvents(2, [this] {
                driver.answerMessage("Stampa ancora attiva", 1);
                EXPECT_FALSE(ui::user::close(preview()));
            });
        }
        driver.atDoEvents(esciAt, [this] { click(preview().comEsci); });
        click(dialog.CmdStampa);
        FrmVStampa& p = preview();
        EXPECT_EQ(giStaAtt, 0);
        EXPECT_FALSE(p.unloadedForGood());
        EXPECT_TRUE(lista.ogSta.engine()->StampaInterrotta());
        EXPECT_EQ(p.labPage.caption(), esciAt == 1 ? "Pag.001" : "Pag.002");
        std::string base = p.filePagine();
        EXPECT_EQ(pageFiles(base).empty(), esciAt == 1);
        EXPECT_TRUE(ui::user::close(p));
        EXPECT_TRUE(pageFiles(base).empty());
    }
}

TEST_F(FrmVStampaTest, WaitForTheUserSleepsUntilSomethingHappens) {
    // A loop that only waits for the user must let the front end block, not spin.
    struct WaitingDriver : ui::ScriptedDriver {
        int waits = 0;
        int plain = 0;
        void waitForEvents() override {
            ++waits;
            ScriptedDriver::doEvents();
        }
        void doEvents() override {
            ++plain;
            ScriptedDriver::doEvents();
        }
    } waiting;
    waiting.setFailureHook([](const std::string& text) { ADD_FAILURE() << text; });
    FrmVStampa& p = preview();
    p.load();
    int plainWhileWaiting = -1;
    waiting.atDoEvents(3, [&] {
        plainWhileWaiting = waiting.plain;
        click(p.comEsci);
    });
    p.Continua();
    EXPECT_EQ(waiting.waits, 3);
    EXPECT_EQ(plainWhileWaiting, 0);
    ui::desktop().setDriver(&driver);
}

TEST_F(FrmVStampaTest, LostPageFileIsReportedAndASecondPrintDropsTheFirstPrintsPages) {
    lista.rows.resize(100);
    FrmVedrixStampa& dialog = videoDialog(1);
    driver.atDoEvents(1, [this] { click(preview().imaMuovi(3)); });
    click(dialog.CmdStampa);
    FrmVStampa& p = preview();
    std::filesystem::remove(p.fileDellaPagina(1));
    driver.answerMessage("in gestione pagine a video (53)", 1);
    click(p.imaMuovi(1));
    EXPECT_EQ(ui::desktop().mousePointer(), ui::pointer::Default);
    click(p.imaMuovi(4));
    EXPECT_EQ(shown(), "Pag.002 #1");
    std::string first = p.filePagine();
    EXPECT_EQ(pageFiles(first).size(), 1u);

    lista.pressKey("Stampa");
    driver.atDoEvents(1, [this] { click(preview().comEsci); });
    click(dialog.CmdStampa);
    EXPECT_TRUE(pageFiles(first).empty());
    EXPECT_TRUE(ui::user::close(preview()));
}

// Width and height in pixels from a PNG's header.
std::pair<int, int> pngSize(const std::string& png) {
    auto at = [&](std::size_t i) {
        int value = 0;
        for (int k = 0; k < 4; ++k) value = value << 8 | static_cast<unsigned char>(png[i + k]);
        return value;
    };
    return png.size() > 24 && png.compare(1, 3, "PNG") == 0 ? std::pair{at(16), at(20)}
                                                            : std::pair{0, 0};
}

TEST_F(FrmVStampaTest, PageIsTheSheetDrawnAtTheChosenScale) {
    // Orientation: OptOrientamento 1 portrait, 0 landscape.
    for (const auto& [fatt, orientation, pixels, twips] :
         std::vector<std::tuple<double, int, std::pair<int, int>, std::pair<double, double>>>{
             {1, 1, {794, 1123}, {11905.5, 16837.8}}, {0.5, 0, {561, 397}, {8418.9, 5952.8}}}) {
        FrmVedrixStampa& dialog = videoDialog(0);
        dialog.opzioni()->Fatt = fatt;
        dialog.OptOrientamento(orientation).setValue(true);
        driver.atDoEvents(1, [this] { click(preview().comEsci); });
        click(dialog.CmdStampa);
        FrmVStampa& p = preview();
        ASSERT_TRUE(p.PicSec.picture()) << fatt;
        EXPECT_EQ(pngSize(p.PicSec.picture()->data), pixels) << fatt;
        EXPECT_NEAR(p.PicSec.width(), twips.first, 1) << fatt;
        EXPECT_NEAR(p.PicSec.height(), twips.second, 1) << fatt;
        ui::user::close(p);
        dialog.unload();
    }
}

TEST_F(FrmVStampaTest, ViewingAreaShowsBarsOnlyForAPageLargerThanIt) {
    FrmVStampa& p = preview();
    p.load();
    for (const auto& [pageWidth, pageHeight, vertical, horizontal, areaWidth] :
         std::vector<std::tuple<double, double, bool, bool, double>>{
             {5000, 5000, false, false, 12000},
             {11900, 16840, true, true, 12000 - 255},
             {5000, 16840, true, false, 12000 - 255},
             {20000, 6000, false, true, 12000}}) {
        SCOPED_TRACE(std::to_string(pageWidth) + "x" + std::to_string(pageHeight));
        p.PicSec.setWidth(pageWidth);
        p.PicSec.setHeight(pageHeight);
        p.move(0, 0, 12000, 9000);
        EXPECT_EQ(p.vscPosVert.visible(), vertical);
        EXPECT_EQ(p.hscPosOri.visible(), horizontal);
        EXPECT_EQ(p.PicPrinc.width(), areaWidth);
        // A bar shown is a bar the user can reach: inside the window.
        if (horizontal) {
            EXPECT_LE(p.hscPosOri.top() + p.hscPosOri.height(), p.scaleHeight());
        }
        if (vertical) {
            double h = p.PicPrinc.height();
            EXPECT_EQ(p.vscPosVert.max(), static_cast<int>(pageHeight - h + 100));
            ui::user::scroll(p.vscPosVert, 700);
            EXPECT_EQ(p.PicSec.top(), -700);
        }
    }
    p.setWindowState(ui::WindowState::Minimized);
    p.PicSec.setHeight(1000);
    p.move(0, 0, 20000, 20000);
    EXPECT_EQ(p.PicPrinc.width(), 12000);
    p.setWindowState(ui::WindowState::Normal);
    p.move(0, 0, 12000, 9000);
    p.PicSec.setHeight(50000);
    driver.answerMessage("La lunghezza del foglio può essere al massimo di 32.666 mmm.", 1);
    p.move(0, 0, 12000, 9000);
    EXPECT_EQ(p.vscPosVert.max(), 32767);
}

}  // namespace
}  // namespace tolvane::testing
