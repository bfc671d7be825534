// The print options dialog: destinations written at once, the fill from the options object,
// page ranges, check boxes, activation, the preview size window, the refusals of closing, and
// the file and fixed-format panels (file dialogs, separators, number boxes, compressed print).
#include "printing/frm_scelta_stam.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/servizi_finestre.h"
#include "printing/dimensione_anteprima.h"
#include "printing/frm_scelta_stam_fixture.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

using ui::user::click;
using ui::user::fill;
using ui::user::focus;

TEST_F(SceltaStamTest, EveryDestinationIsWrittenAtOnceWithItsPanelAndEnterMovesOn) {
    FrmSceltaStam& form = open();
    for (int dest : {3, 1, 2, 0}) {
        SCOPED_TRACE(dest);
        opz.SceltaVideo = false;
        click(form.OptStampaSu(dest));
        EXPECT_EQ(opz.StaVid, dest);
        EXPECT_EQ(opz.SceltaVideo, dest == OpzStampa::kVideo);
        for (int panel = 0; panel < 4; ++panel) {
            EXPECT_EQ(form.FraOpz(panel).enabled(), panel == dest) << panel;
            EXPECT_EQ(form.FraOpz(panel).visible(), panel == dest) << panel;
        }
    }
    click(form.OptStampaSu(1));
    click(form.ComOpz(1));  // no preview size window plugged in: nothing changes
    click(form.OptStampaSu(0));
    opz.SceltaVideo = true;
    click(form.ComOpz(0));
    EXPECT_FALSE(opz.SceltaVideo);

    // Enter moves on, Escape is swallowed.
    focus(form.txt(10));
    ui::user::key(form, ui::key::Return);
    EXPECT_NE(form.activeControl(), &form.txt(10));
    int ascii = ui::key::Escape;
    form.Form_KeyPress(ascii);
    EXPECT_EQ(ascii, 0);
}

TEST_F(SceltaStamTest, FillShowsTheOptionsAndKeepsRefusedDestinationsOut) {
    opz.StaVid = OpzStampa::kFile;
    opz.FileName = "/tmp/clienti.csv";
    opz.ForzaVert = true;
    opz.Fatt = 1.5f;
    opz.MemVid = 1;
    opz.refuseDestination(OpzStampa::kFile);
    opz.refuseDestination(OpzStampa::kVideo);
    opz.refuseDestination(OpzStampa::kFissa);
    opz.refuseDestination(OpzStampa::kFissa, false);
    opz.ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(0));
    opz.ScriviParStampa("PaginaA", OpzStampa::kTipoAltro, Variant(7));
    opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(true));
    FrmSceltaStam& form = open();
    EXPECT_FALSE(form.ChePdfAutom->visible()) << "no PDF printer in use";
    EXPECT_FALSE(form.CheInviaEmail->visible());
    EXPECT_EQ(form.ChePdfAutom->value(), 0);
    EXPECT_TRUE(form.OptStampaSu(2).value()) << "a refused destination held by the options stays";
    EXPECT_TRUE(form.FraOpz(2).enabled());
    std::vector<bool> enabled;
    for (int i = 0; i < 4; ++i) enabled.push_back(form.OptStampaSu(i).enabled());
    EXPECT_EQ(enabled, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(form.CheForzaVert->value(), 1);
    EXPECT_EQ(form.txt(10).text(), "") << "page 0 shows empty";
    EXPECT_EQ(form.txt(20).text(), "7");
    EXPECT_EQ(form.labFatt->caption(), "150");
    EXPECT_EQ(form.LabMemVid->caption(), "Si");
    EXPECT_EQ(form.LabFileName->caption(), "/tmp/clienti.csv");
}

TEST_F(SceltaStamTest, RunningListPrintBlocksTheDialog) {
    giStaAtt = 1;
    FrmSceltaStam& form = ui::desktop().load<FrmSceltaStam>();
    form.ogOpzSta = &opz;
    driver.answerMessage(
        "C'è una stampa in esecuzione. Non è possibile variare i parametri di stampa", 1);
    EXPECT_FALSE(form.VisDecodOk());
    EXPECT_EQ(form.cboCassetti->listCount(), 0) << "nothing was filled";
}

TEST_F(SceltaStamTest, PageFieldWritesTheRangeAndShowsItInItsTwinOrRefusesAPageBeyondIt) {
    // Typed into a page box and left: the range written, and the box's twin on the other
    // panel shows it with the same colour.
    FrmSceltaStam& form = open();
    for (const auto& [field, typed, name, stored, twin, twinText] :
         std::vector<std::tuple<int, const char*, const char*, long, int, const char*>>{
             {30, "12", "PaginaDa", 12, 10, "12"},
             {20, "0", "PaginaA", 0, 40, ""},
             {40, "abc", "PaginaA", 0, 20, "abc"}}) {
        SCOPED_TRACE(typed);
        click(form.OptStampaSu(field >= 30 ? 1 : 0));
        fill(form.txt(field), typed);
        form.txt(field).setBackColor(0x123456);
        focus(*form.CheNumPag);
        EXPECT_EQ(opz.LeggiParStampa(name).toLong(), stored);
        EXPECT_EQ(form.txt(twin).text(), twinText);
        EXPECT_EQ(form.txt(twin).backColor(), 0x123456);
    }

    // A page beyond the range is refused and the field keeps its page.
    click(form.OptStampaSu(0));
    fill(form.txt(10), "3");
    focus(*form.CheNumPag);
    fill(form.txt(10), "99999");
    driver.answerMessage("Errore(6)", 1);
    focus(*form.CheNumPag);
    EXPECT_EQ(opz.LeggiParStampa("PaginaDa").toLong(), 3);
    EXPECT_EQ(form.txt(10).text(), "3");
}

TEST_F(SceltaStamTest,
       ClosingRefusesAFileDestinationWithoutNameAndAReversedRangeAndTheModalShowGoesOn) {
    const char* const noName = "In caso di stampa su file è obbligatorio specificare il nome file.";
    // A refusal of nullptr: the window closes.
    for (const auto& [staVid, fileName, fisFileName, da, a, refusal] :
         std::vector<std::tuple<int, const char*, const char*, int, int, const char*>>{
             {2, "", "x", 0, 0, noName},
             {2, "  ", "x", 0, 0, noName},
             {3, "x", "", 0, 0, noName},
             {0, "", "", 5, 3, "Selezione Pagina Da maggiore di Pagina A"},
             {0, "", "", 5, 0, nullptr},
             {2, "/tmp/a.csv", "", 2, 9, nullptr},
             {3, "", "LPT1:", 0, 0, nullptr}}) {
        SCOPED_TRACE(std::to_string(staVid) + " " + std::to_string(da) + "-" + std::to_string(a));
        opz.StaVid = staVid;
        opz.FileName = fileName;
        opz.FisFileName = fisFileName;
        opz.ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(da));
        opz.ScriviParStampa("PaginaA", OpzStampa::kTipoAltro, Variant(a));
        FrmSceltaStam& form = ui::desktop().load<FrmSceltaStam>();
        form.ogOpzSta = &opz;
        ASSERT_TRUE(form.VisDecodOk());
        driver.onForm("FrmSceltaStam", [&, refused = refusal, chosen = staVid](ui::Form&) {
            if (refused) driver.answerMessage(refused, 1);
            click(*form.ComChiudi);
            EXPECT_EQ(form.visible(), refused != nullptr);
            if (refused) {
                EXPECT_EQ(opz.StaVid, chosen) << "the choices are kept";
                click(form.OptStampaSu(1));
                opz.ScriviParStampa("PaginaA", OpzStampa::kTipoAltro, Variant(0));
                click(*form.ComChiudi);
            }
        });
        MostraForm(form, true, 1, 0);
        EXPECT_TRUE(form.unloadedForGood()) << "the modal show ends once the window may close";
    }
}

TEST_F(SceltaStamTest, CheckBoxesFollowTheOptionsGivenBeforeLoadAndWriteAtOnce) {
    opz.ScriviParStampa("MostraNumPag", OpzStampa::kTipoAltro, Variant(true));
    FrmSceltaStam& form = ui::desktop().instance<FrmSceltaStam>();
    form.ogOpzSta = &opz;
    form.load();
    EXPECT_EQ(form.CheNumPag->value(), 1);
    form.show();
    click(*form.CheForzaVert);
    EXPECT_TRUE(opz.ForzaVert);
    EXPECT_NE(form.LabStaAttuale->caption().find("verticale"), std::string::npos);
    click(*form.CheNumPag);
    EXPECT_EQ(opz.LeggiParStampa("MostraNumPag"), Variant(false));
    ui::user::dblClick(form.Fra(0));
    EXPECT_TRUE(opz.DoppioClicStampaSu);
}

TEST_F(SceltaStamTest, PdfAndEmailBoxesFollowTheSettingsAndStaySilentAtActivation) {
    int clicks = 0;
    FrmSceltaStam::extensions().pdfAutomClick = [&](FrmSceltaStam&) { ++clicks; };
    FrmSceltaStam::extensions().inviaEmailClick = [&](FrmSceltaStam&) { ++clicks; };
    opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(true));
    menu().SetParametro("UsaPdf995", "", Variant("s"));
    menu().SetParametro("StampeEmail", "", Variant("S"));
    opz.ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(true));
    FrmSceltaStam& form = open();
    EXPECT_EQ(form.ChePdfAutom->value(), 1);
    EXPECT_EQ(form.CheInviaEmail->value(), 1);
    EXPECT_EQ(clicks, 0) << "activation runs no PDF or e-mail handler";
    click(*form.CheInviaEmail);
    EXPECT_EQ(clicks, 1);
}

TEST_F(SceltaStamTest,
       PreviewSizeWindowGoesThroughThePrintZoomShowsASampleAndOnlyOkTakesTheChoice) {
    collegaFrmVStaPar();
    // The size shown is held to 50..180; chosen 0: the window closed without OK. The dialog is
    // drawn at its own zoom, from the same key as the print's.
    for (const auto& [zoom, fatt, memVid, shownScroll, chosenScroll, stored, label, drawnAt] :
         std::vector<std::tuple<double, float, int, int, int, float, const char*, double>>{
             {0, 0, 0, 100, 130, 1.3f, "130", 1},
             {1.25, 1.5f, 0, 120, 160, 2.0f, "200", 1.25},
             {1.25, 1.5f, 0, 120, 110, 1.38f, "138", 1.25},
             {0, 0.3f, 0, 50, 60, 0.6f, "60", 1},
             {0, 2.5f, 1, 180, 75, 0.75f, "75", 1},
             {0, 0.9f, 0, 90, 0, 0.9f, "90", 1}}) {
        SCOPED_TRACE(fatt);
        gdRisVidStampa = zoom;
        opz.Fatt = fatt;
        opz.MemVid = memVid;
        driver.onForm("frmVStaPar", [shown = shownScroll, kept = memVid,
                                     chosen = chosenScroll](ui::Form& window) {
            auto& f = static_cast<frmVStaPar&>(window);
            EXPECT_EQ(f.VsbProp.value(), shown);
            EXPECT_EQ(f.CheMemVid.value(), kept);
            if (chosen == 0) {
                // The sample follows the size; a double click suggests 67 with pages kept.
                ui::user::scroll(f.VsbProp, 150);
                EXPECT_DOUBLE_EQ(f.PicProva.font().size, 15);
                ui::user::dblClick(f.LabProp);
                EXPECT_EQ(f.VsbProp.value(), 67);
                EXPECT_EQ(f.CheMemVid.value(), 1);
                ui::user::close(f);
                return;
            }
            ui::user::scroll(f.VsbProp, chosen);
            click(f.CheMemVid);
            click(f.CmdOk);
        });
        FrmSceltaStam& form = open();
        EXPECT_EQ(form.zoom(), drawnAt);
        click(form.OptStampaSu(1));
        click(form.ComOpz(1));
        EXPECT_FLOAT_EQ(opz.Fatt, stored);
        EXPECT_EQ(opz.MemVid, chosenScroll == 0 ? memVid : 1 - memVid);
        EXPECT_EQ(form.labFatt->caption(), label);
        EXPECT_EQ(ui::desktop().find<frmVStaPar>(), nullptr);
        closeAll();
    }
}

TEST_F(SceltaStamTest, FileDialogsKeepTheFilesOnCancelOfferTheWorkbookFirstAndStoreTheChoice) {
    opz.PathDefault = "/tmp/stampe";
    opz.FileName = "/tmp/a.csv";
    opz.FileForm = 1;
    opz.FisFileName = "usb://fissa";
    opz.FisStampante = true;
    FrmSceltaStam& form = open();
    driver.cancelFileDialog().cancelFileDialog();
    click(form.OptStampaSu(2));
    click(form.ComOpz(2));
    click(form.OptStampaSu(3));
    click(form.ComOpz(3));
    EXPECT_EQ(opz.FileName, "/tmp/a.csv");
    EXPECT_EQ(opz.FileForm, 1);
    EXPECT_EQ(opz.FisFileName, "usb://fissa");
    EXPECT_TRUE(opz.FisStampante);

    // A fixed-format file ends the output to a printer.
    driver.chooseFile("/tmp/fissa.txt");
    click(form.ComOpz(3));
    EXPECT_EQ(form.codFile->filter, "Testo|*.txt");
    EXPECT_EQ(opz.FisFileName, "/tmp/fissa.txt");
    EXPECT_FALSE(opz.FisStampante);
    EXPECT_EQ(form.LabFileStampaFis->caption(), "/tmp/fissa.txt");
    EXPECT_NE(form.LabStaAttuale->caption().find("/tmp/fissa.txt"), std::string::npos);

    click(form.OptStampaSu(2));
    for (const auto& [entry, fileForm, numNoFormEnabled] :
         std::vector<std::tuple<int, int, bool>>{{1, 2, true}, {2, 0, false}, {3, 1, true}}) {
        SCOPED_TRACE(entry);
        opz.SceltaVideo = true;
        driver.chooseFile("/tmp/stampe/clienti", entry);
        click(form.ComOpz(2));
        EXPECT_EQ(form.codFile->filter,
                  "Formato Excel|*.xlsx|Compatibile Excel|*.csv;*.txt|Testo|*.txt");
        EXPECT_EQ(form.codFile->initDir, "/tmp/stampe");
        EXPECT_EQ(opz.FileName, "/tmp/stampe/clienti");
        EXPECT_EQ(opz.FileForm, fileForm);
        EXPECT_FALSE(opz.SceltaVideo);
        EXPECT_EQ(form.LabFileForm->caption(), opz.DescFormatoFile(fileForm));
        EXPECT_EQ(form.CheNumNoForm->enabled(), numNoFormEnabled);
    }
}

TEST_F(SceltaStamTest, FillSelectsTheStoredSeparatorOrNoneForAnUnknownOneAndButtonsWriteTheirs) {
    // The buttons set (-1: none) for a stored separator and qualifier.
    for (const auto& [sep, delim, sepButton, delimButton] :
         std::vector<std::tuple<const char*, const char*, int, int>>{
             {"\t", "'", 0, 1}, {" ", "", 3, 2}, {"|", "\"", -1, 0}, {"", "x", -1, -1}}) {
        SCOPED_TRACE(sep);
        opz.SepCampi = sep;
        opz.DelimStr = delim;
        FrmSceltaStam& form = open();
        for (int i = 0; i < 4; ++i) EXPECT_EQ(form.OptSepCampi(i).value(), i == sepButton) << i;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(form.OptDelimStr(i).value(), i == delimButton) << i;
        EXPECT_EQ(opz.SepCampi, sep) << "the fill writes back only what it shows";
        closeAll();
    }
    opz.FileForm = 1;
    FrmSceltaStam& form = open();
    click(form.OptStampaSu(2));
    click(form.OptSepCampi(1));
    EXPECT_EQ(opz.SepCampi, ";");
    click(form.OptDelimStr(0));
    EXPECT_EQ(opz.DelimStr, "\"");
    click(*form.CheNumNoForm);
    EXPECT_TRUE(opz.NumNoForm);
}

TEST_F(SceltaStamTest, FixedFormatBoxesAreTakenWhenLeft) {
    opz.FisColonne = 80;
    FrmSceltaStam& form = open();
    click(form.OptStampaSu(3));
    EXPECT_EQ(form.TxtFisColonne->text(), "80");
    for (const auto& [box, typed, number, stored] :
         std::vector<std::tuple<ui::TextBox*, const char*, int OpzStampa::*, int>>{
             {form.TxtFisMrAlt, "3", &OpzStampa::FisMrAlt, 3},
             {form.TxtFisMrBas, "2,7", &OpzStampa::FisMrBas, 3},
             {form.TxtFisRighe, "abc", &OpzStampa::FisRighe, 0}}) {
        SCOPED_TRACE(typed);
        fill(*box, typed);
        focus(*form.CheFisUtilComp);
        EXPECT_EQ(opz.*number, stored);
    }
    fill(*form.TxtFisCodIniComp, "\\015");
    focus(*form.CheFisUtilComp);
    EXPECT_EQ(opz.FisCodIniComp, "\\015") << "a sequence is kept as typed";
    click(*form.CheFisUtilComp);
    EXPECT_TRUE(opz.FisUtilComp);
}

}  // namespace
}  // namespace tolvane::testing
