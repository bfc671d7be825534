// The list print dialog: one print at a time, the refusals, the column choice, the orientation,
// the font, the default printer, and a print that reaches the printer, a file or is refused;
// the print-in-progress window with its stop button and its zoom.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "printing/stampa_lista_fixture.h"
#include "support/pdf_check.h"

namespace tolvane::testing {
namespace {

using FrmVedrixStampaTest = StampaListaTest;

TEST_F(FrmVedrixStampaTest, OnlyOnePrintAtATime) {
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
    giStaAtt = 1;
    driver.answerMessage("Si può lanciare solo una stampa alla volta", 1);
    ui::user::click(dialog.CmdStampa);
    EXPECT_EQ(lista.ogSta.ofrmVStampa, nullptr);
    EXPECT_EQ(lista.ogSta.ogOpzSta, nullptr);
    EXPECT_EQ(dialog.ogVedrix(), &lista);
    EXPECT_TRUE(queue->jobs().empty());
}

TEST_F(FrmVedrixStampaTest, MissingChoiceOfAnEnabledFrameIsRefused) {
    for (const auto& [orientation, columns, message, focus] :
         std::vector<std::tuple<bool, bool, std::string, std::string>>{
             {false, true, "Scegliere un' orientamento", "OptOrientamento(0)"},
             {true, false, "Scegliere un tipo di stampa", "OptTipsta(0)"}}) {
        FrmVedrixStampa& dialog = openDialog();
        dialog.opzioni()->StaVid = OpzStampa::kStampante;
        if (orientation) dialog.OptOrientamento(1).setValue(true);
        if (columns) dialog.OptTipsta(1).setValue(true);
        driver.answerMessage(message, 1);
        ui::user::click(dialog.CmdStampa);
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
        ui::user::click(dialog.CmdStampa);
        ASSERT_FALSE(queue->jobs().empty());
        const auto& job = queue->jobs().back();
        EXPECT_EQ(job.job.printer, "Ufficio");
        const PdfFacts pdf = pdfFactsOf(job.content);
        EXPECT_EQ(pdf.width > pdf.height, landscape) << option;
        EXPECT_EQ(dialog.ogVedrix(), nullptr);
        EXPECT_EQ(giStaAtt, 0);
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
        ui::user::click(dialog.CmdStampa);
        std::string text = ScratchFolder::read(opz.FileName);
        EXPECT_EQ(text.substr(0, text.find("\r\n")), header);
        dialog.unload();
    }
}

TEST_F(FrmVedrixStampaTest, FailuresAreShownAndNothingIsPrinted) {
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
    dialog.opzioni()->StampanteOpz = "Magazzino";
    giStampDefCambiata = 1;
    driver.answerMessage("per stampare su Magazzino uscire dal programma e rientrare", 1);
    ui::user::click(dialog.CmdStampa);
    EXPECT_EQ(dialog.ogVedrix(), &lista);

    dialog.opzioni()->StampanteOpz.clear();
    queue->refuseWith("carta esaurita");
    driver.answerMessage("carta esaurita", 1);
    ui::user::click(dialog.CmdStampa);

    queue->refuseWith("");
    openDialog();
    dialog.opzioni()->StaVid = OpzStampa::kFile;
    dialog.opzioni()->FileName = folder.file("manca/lista.xlsx");
    dialog.opzioni()->FileForm = 2;
    driver.answerMessage("Impossibile scrivere il file " + folder.file("manca/lista.xlsx"), 1);
    ui::user::click(dialog.CmdStampa);

    EXPECT_TRUE(queue->jobs().empty());
    EXPECT_FALSE(std::filesystem::exists(folder.file("manca")));
    EXPECT_EQ(giStaAtt, 0);
}

TEST_F(FrmVedrixStampaTest, PrintButtonWaitsForTheNextListAndExitGivesAFreshDialog) {
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
    ui::user::click(dialog.CmdStampa);
    EXPECT_FALSE(dialog.CmdStampa.enabled());
    openDialog();
    EXPECT_TRUE(dialog.CmdStampa.enabled());
    ui::user::click(dialog.CmdStampa);
    EXPECT_EQ(queue->jobs().size(), 2u);

    dialog.OptOrientamento(0).setValue(true);
    ui::user::click(dialog.CmdEsci);
    EXPECT_TRUE(dialog.unloadedForGood());
    FrmVedrixStampa& second = openDialog();
    EXPECT_NE(&second, &dialog);
    EXPECT_TRUE(second.visible());
    EXPECT_FALSE(second.OptOrientamento(0).value());
    EXPECT_EQ(second.ogVedrix(), &lista);
    EXPECT_EQ(second.opzioni()->NomeStampa(), "Elenco aziende");
}

// The default printer button empties the print's printer: the default of the moment the print
// starts.
TEST_F(FrmVedrixStampaTest, DefaultPrinterButtonLeavesThePrintToTheDefaultOfThatMoment) {
    addPrinter("Magazzino", "ipp://magazzino");
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
    dialog.opzioni()->StampanteOpz = "Magazzino";
    ui::user::click(dialog.CmdStampa);
    ui::user::click(dialog.ComUsaDef);
    EXPECT_EQ(dialog.opzioni()->StampanteOpz, "");
    EXPECT_EQ(dialog.opzioni()->StampanteOpz2, "ipp://ufficio");
    EXPECT_NE(dialog.labStaAttuale.caption().find("stampante predefinita (Ufficio)"),
              std::string::npos);
    for (const char* predefinita : {"Ufficio", "Magazzino"}) {
        printers->setServerDefault(predefinita);
        openDialog();
        ui::user::click(dialog.CmdStampa);
        EXPECT_EQ(queue->jobs().back().job.printer, predefinita);
    }
    EXPECT_EQ(queue->jobs().size(), 3u);
}

TEST_F(FrmVedrixStampaTest, FontChoiceReachesThePrintAndCancelKeepsIt) {
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
    EXPECT_EQ(dialog.fontStampa().name, "Arial");
    EXPECT_EQ(dialog.fontStampa().size, 10);
    ui::Font chosen;
    chosen.name = "Courier New";
    chosen.size = 12;
    chosen.bold = true;
    chosen.italic = true;
    driver.chooseFont(chosen).cancelFontDialog();
    ui::user::click(dialog.CmdSceFont);
    ui::user::click(dialog.CmdSceFont);
    EXPECT_EQ(dialog.fontStampa(), chosen);
    ui::user::click(dialog.CmdStampa);
    ASSERT_EQ(queue->jobs().size(), 1u);
    const PdfFacts pdf = pdfFactsOf(queue->jobs()[0].content);
    EXPECT_TRUE(embeddedFont(pdf, "LiberationMono-BoldItalic")) << pdf.fonts;
    // A line of a 12-point face is about 13.6 points high; of the first 10 points, 11.3.
    EXPECT_NEAR(wordHeight(pdf, "Codice"), 13.6, 0.5) << pdf.boxes.substr(0, 2000);
}

TEST_F(FrmVedrixStampaTest, StopButtonEndsAPrintBeforeItReachesThePrinter) {
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
                ui::user::click(progress.ComSTampa);
                ui::user::click(progress.ComSTampa);
            });
        }
        ui::user::click(dialog.CmdStampa);
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
}

TEST_F(FrmVedrixStampaTest, StopWithoutEngineOrAfterUnloadDoesNothing) {
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

}  // namespace
}  // namespace tolvane::testing
