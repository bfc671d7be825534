// Printer, port, tray and paper choice of the print options dialog against printers held in
// memory: the grids, the lists from the driver, the choices written into the options.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/db_comune.h"
#include "db/gestore_db.h"
#include "printing/frm_scelta_stam_fixture.h"
#include "startup/demo_environment.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

using ui::user::choose;
using ui::user::chooseCell;
using ui::user::click;

class StampantiTest : public SceltaStamTest {
  protected:
    StampantiTest() {
        addPrinter("Ufficio", "usb://ufficio", {"Upper/Superiore", "Lower/Inferiore"},
                   {"A4", "A3", "Folio/Protocollo"}, 1);
        addPrinter("Magazzino", "lpd://magazzino",
                   {"Manual/Manuale", "LargeCapacity/Grande capacità", "Lower/Inferiore",
                    "Tray4/Cassetto 4"},
                   {"A5", "A4"}, 1);
        addPrinter("Etichette", "usb://etichette");
        printers->setServerDefault("Ufficio");
    }
    void saved(long tray, long paper) {
        opz.ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(tray));
        opz.ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant(paper));
    }
    long tray() const { return opz.LeggiParStampa("NumCassetto").toLong(); }
    long paper() const { return opz.LeggiParStampa("NumTipoCarta").toLong(); }
};

TEST_F(StampantiTest, GridsListThePrintersAndNoPrinterLeavesOnlyTheHeading) {
    FrmSceltaStam& form = open();
    EXPECT_EQ(form.labTotStamp->caption(), "3");
    for (ui::Grid* grid : {form.GriPri, form.GriPorte}) {
        ASSERT_EQ(grid->rows(), 4);
        std::vector<std::string> second;
        for (int c = 0; c < 3; ++c) second.push_back(grid->textMatrix(2, c));
        EXPECT_EQ(second, (std::vector<std::string>{"1", "Magazzino", "lpd://magazzino"}));
    }
    closeAll();
    for (const char* name : {"Ufficio", "Magazzino", "Etichette"}) printers->removePrinter(name);
    FrmSceltaStam& empty = open();
    EXPECT_EQ(empty.labTotStamp->caption(), "0");
    EXPECT_EQ(empty.GriPri->rows(), 1);
    chooseCell(*empty.GriPri, 0, 1);
    EXPECT_EQ(opz.StampanteOpz, "") << "the heading names no printer";
    EXPECT_EQ(items(*empty.cboCassetti),
              (std::vector<std::string>{"Nessuna impostazione - Default"}));
}

TEST_F(StampantiTest, TrayAndPaperListsDescribeTheOptionsPrinterAndDropAnUnknownTray) {
    opz.StampanteOpz = "Magazzino";
    opz.StampanteOpz2 = "lpd://magazzino";
    saved(11, 9);
    FrmSceltaStam& form = open();
    EXPECT_EQ(items(*form.cboCassetti),
              (std::vector<std::string>{"Nessuna impostazione - Default", "     4 - Manuale",
                                        "    11 - Grande capacità", "     2 - Inferiore",
                                        "   260 - Cassetto 4"}));
    EXPECT_EQ(form.cboCassetti->listIndex(), 2);
    EXPECT_EQ(items(*form.cboTipoCarta), (std::vector<std::string>{"Nessuna impostazione - Default",
                                                                   "11 - A5 (ATTUALE)", "9 - A4"}));
    EXPECT_EQ(form.cboTipoCarta->listIndex(), 2);
    EXPECT_EQ(tray(), 11);

    choose(*form.cboCassetti, 4);
    EXPECT_EQ(tray(), 260);
    choose(*form.cboTipoCarta, 0);
    EXPECT_EQ(paper(), 0);
    EXPECT_NE(form.LabStaAttuale->caption().find("cassetto 260"), std::string::npos);

    // Back on the default printer, whose two trays do not include 11.
    closeAll();
    opz.StampanteOpz.clear();
    saved(11, 259);
    FrmSceltaStam& other = open();
    EXPECT_EQ(items(*other.cboCassetti).size(), 3u);
    EXPECT_EQ(other.cboCassetti->listIndex(), 0);
    EXPECT_EQ(tray(), 0);
    EXPECT_EQ(other.cboTipoCarta->text(), "259 - Protocollo");
}

// A refused printer leaves the print on its printer; Magazzino, chosen with the keyboard, offers
// the tray and the paper the print had on Ufficio: still they are not kept.
TEST_F(StampantiTest, ChoosingAPrinterResetsTrayAndPaperAndRefillsItsListsEvenWhenRefused) {
    opz.StampanteOpz = "Ufficio";
    opz.StampanteOpz2 = "usb://ufficio";
    saved(2, 9);
    FrmSceltaStam& form = open();
    ASSERT_EQ(form.cboCassetti->text(), "     2 - Inferiore");
    giStampDefCambiata = 1;
    printers->removePrinter("Etichette");
    driver.answerMessage("Impossibile impostare la stampante predefinita", 1);
    chooseCell(*form.GriPri, rowOf(*form.GriPri, "Etichette"), 1);
    EXPECT_EQ(opz.StampanteOpz, "Ufficio");
    EXPECT_EQ(tray(), 0);
    EXPECT_EQ(paper(), 0);
    EXPECT_EQ(items(*form.cboCassetti).size(), 3u);
    EXPECT_EQ(form.cboCassetti->listIndex(), 0);
    EXPECT_EQ(form.cboTipoCarta->listIndex(), 0);

    saved(2, 9);
    form.GriPri->setRow(rowOf(*form.GriPri, "Magazzino"));
    ui::user::key(form, ui::key::Return);
    EXPECT_EQ(opz.StampanteOpz, "Magazzino");
    EXPECT_EQ(opz.StampanteOpz2, "lpd://magazzino");
    EXPECT_EQ(tray(), 0);
    EXPECT_EQ(paper(), 0);
    EXPECT_EQ(items(*form.cboCassetti).size(), 5u);
    EXPECT_EQ(form.cboCassetti->listIndex(), 0);
    EXPECT_EQ(form.cboTipoCarta->text(), "Nessuna impostazione - Default");
    EXPECT_EQ(items(*form.cboTipoCarta)[1], "11 - A5 (ATTUALE)");
    EXPECT_NE(form.LabStaAttuale->caption().find("Magazzino"), std::string::npos);
}

TEST_F(StampantiTest, ChoosingAPrinterEndsAutomaticPdfWhenThePdfPrinterIsThere) {
    addPrinter("pdfcreator su ufficio", "pdf:/");  // the PDF printer holds the word, any case
    menu().SetParametro("UsaPdfCreator", "", Variant("S"));
    menu().SetParametro("UsaPdf995", "", Variant("S"));
    menu().SetParametro("StampeEmail", "", Variant("S"));
    opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(true));
    opz.ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(true));
    int clicks = 0;
    FrmSceltaStam::extensions().pdfAutomClick = [&](FrmSceltaStam&) { ++clicks; };
    FrmSceltaStam::extensions().inviaEmailClick = [&](FrmSceltaStam&) { ++clicks; };
    FrmSceltaStam& form = open();
    ASSERT_EQ(form.ChePdfAutom->value(), 1);
    chooseCell(*form.GriPri, rowOf(*form.GriPri, "Ufficio"), 1);
    EXPECT_EQ(form.ChePdfAutom->value(), 0);
    EXPECT_EQ(form.CheInviaEmail->value(), 0);
    EXPECT_FALSE(form.CheInviaEmail->enabled());
    EXPECT_EQ(opz.LeggiParStampa("PdfAutomAbil"), Variant(false));
    EXPECT_EQ(opz.LeggiParStampa("EmailInvia"), Variant(false));
    EXPECT_EQ(clicks, 0);
}

TEST_F(StampantiTest, PortGridSendsTheFixedFormatToAPrinter) {
    addPrinter("\\\\server\\rete", "ipp://server/rete");
    FrmSceltaStam& form = open();
    click(form.OptStampaSu(3));
    chooseCell(*form.GriPorte, rowOf(*form.GriPorte, "Magazzino"), 1);
    EXPECT_EQ(opz.FisFileName, "lpd://magazzino");
    EXPECT_TRUE(opz.FisStampante);
    EXPECT_EQ(form.LabFileStampaFis->caption(), "lpd://magazzino");
    int rete = rowOf(*form.GriPorte, "\\\\server\\rete");
    chooseCell(*form.GriPorte, rete, 2);
    EXPECT_EQ(opz.FisFileName, "ipp://server/rete") << "a network name needs the NT platform";
    menu().SetParametro("OSPlatform", "", Variant(2));
    chooseCell(*form.GriPorte, rete, 0);
    EXPECT_EQ(opz.FisFileName, "\\\\server\\rete");
}

TEST_F(StampantiTest, PaperSizeButtonListsTheSizesInAMessage) {
    FrmSceltaStam& form = open();
    driver.answerMessage("Formati disponibili \r\n9 - A4 (ATTUALE)\r\n8 - A3\r\n259 - Protocollo",
                         1);
    click(*form.ComPaperSize);
    EXPECT_EQ(driver.shown().back().source, ui::MessageRequest::Source::MessageWindow);
}

TEST_F(StampantiTest, PrintersWithoutTrayChoiceOfferOnlyTheDefault) {
    const DemoEnvironment env = buildDemoEnvironment(folder.path() / "demo");
    const std::string idDb = goDbase().ApriConnessione(env.commonDb.string());
    menu().setDatabase(&goDbase(), idDb);
    for (const auto& [setting, printer, trays] :
         std::vector<std::tuple<std::string, const char*, std::size_t>>{
             {"TUTTE", "Ufficio", 1},
             {"magazzino,Altra", "Magazzino", 1},
             {"Altra,MAGAZZINO", "Magazzino", 1},
             {"Altra,Magazzino", "Ufficio", 3},
             {"Magazzinone", "Magazzino", 5}}) {
        SCOPED_TRACE(setting + " " + printer);
        goDbase().EseguiSql(idDb, "Delete From Personalizzazioni Where Sezione = 'Tutti'");
        goDbase().EseguiSql(idDb,
                            "Insert Into Personalizzazioni (Sezione, Chiave, Login, Valore) "
                            "Values ('Tutti', 'StampantiNoCassetti', '', '" +
                                setting + "')");
        opz.StampanteOpz = printer;
        FrmSceltaStam& form = open();
        EXPECT_EQ(items(*form.cboCassetti).size(), trays);
        form.ogOpzSta = nullptr;
        closeAll();
    }
    goDbase().ChiudiConnessione(idDb);
}

}  // namespace
}  // namespace tolvane::testing
