// Printers and saved option sets of the print options dialog, against printers held in memory:
// the printer grids, the tray and paper lists from the driver, the choices written into the
// options, the default printer button; the save panel's values and selection, writing a set to
// the terminal or the common INI as defaults or for this print, deleting it, reading it back.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "common/db_comune.h"
#include "db/gestore_db.h"
#include "platform/ini_file.h"
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

TEST_F(StampantiTest, GridsListThePrintersThePortGridFeedsTheFixedFormatNoPrinterLeavesTheHeading) {
    addPrinter("\\\\server\\rete", "ipp://server/rete");
    FrmSceltaStam& form = open();
    EXPECT_EQ(form.labTotStamp->caption(), "4");
    for (ui::Grid* grid : {form.GriPri, form.GriPorte}) {
        ASSERT_EQ(grid->rows(), 5);
        std::vector<std::string> second;
        for (int c = 0; c < 3; ++c) second.push_back(grid->textMatrix(2, c));
        EXPECT_EQ(second, (std::vector<std::string>{"1", "Magazzino", "lpd://magazzino"}));
    }
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
    click(form.OptStampaSu(0));
    driver.answerMessage("Formati disponibili \r\n9 - A4 (ATTUALE)\r\n8 - A3\r\n259 - Protocollo",
                         1);
    click(*form.ComPaperSize);

    closeAll();
    for (const char* name : {"Ufficio", "Magazzino", "Etichette", "\\\\server\\rete"})
        printers->removePrinter(name);
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
    // The lists themselves are checked against real queues in the CUPS tests.
    EXPECT_EQ(form.cboCassetti->text(), "    11 - Grande capacità");
    EXPECT_EQ(form.cboTipoCarta->text(), "9 - A4");
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

    saved(2, 9);
    form.GriPri->setRow(rowOf(*form.GriPri, "Magazzino"));
    ui::user::key(form, ui::key::Return);
    EXPECT_EQ(opz.StampanteOpz, "Magazzino");
    EXPECT_EQ(opz.StampanteOpz2, "lpd://magazzino");
    EXPECT_EQ(tray(), 0);
    EXPECT_EQ(paper(), 0);
    EXPECT_EQ(items(*form.cboCassetti).size(), 5u);
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
        closeAll();
    }
    goDbase().ChiudiConnessione(idDb);
}

class SalvaOpzioniTest : public SceltaStamTest {
  protected:
    // Every option of a saved set: its key, its stored encoding, the label the save panel shows
    // for it (none for the two it does not list).
    struct Option {
        const char* key;
        const char* stored;
        const char* label;
    };
    const std::vector<Option> fullSet = {
        {"StaVid", "2", "File"},
        {"ForzaVert", "-1", "Sì"},
        {"FileName", "/tmp/clienti.csv", "/tmp/clienti.csv"},
        {"FileForm", "2", "Formato Excel"},
        {"PathDefault", "/tmp", "/tmp"},
        {"SepCampi", "9", "Tab"},
        {"DelimStr", "34", "\""},
        {"NumNoForm", "-1", "Sì"},
        {"Fatt", "1,25", "1,25"},
        {"MemVid", "1", "1"},
        {"FisFileName", "/tmp/fissa.txt", "/tmp/fissa.txt"},
        {"FisStampante", "0", "Falso"},
        {"FisMrAlt", "2", "2"},
        {"FisMrBas", "-1", "-1"},
        {"FisColonne", "132", "132"},
        {"FisRighe", "72", "72"},
        {"FisCodIniComp", "\\015", "\\015"},
        {"FisCodFinComp", "\\018", "\\018"},
        {"FisUtilComp", "-1", "Sì"},
        {"NomeStampante", "Ufficio", "Ufficio"},
        {"NomePorta", "usb://ufficio", "usb://ufficio"},
        {"Cassetto", "3", "3"},
        {"TipoCarta", "9", "9"},
        {"PdfNomeAutom", "S", nullptr},
        {"InviaEmail", "N", nullptr},
    };
    static std::map<std::string, std::string> section(const std::string& file,
                                                      const std::string& name) {
        IniFile ini = IniFile::load(file);
        std::map<std::string, std::string> out;
        for (const std::string& key : iniKeys(ini, name)) out[key] = ini.getString(name, key, "");
        return out;
    }
};

// A print read from the full set: the labels show each option in the form it will be written
// in, and the save writes the set back as it was read.
TEST_F(SalvaOpzioniTest, SaveShowsAndWritesEveryOptionInItsEncoding) {
    addPrinter("Ufficio", "usb://ufficio", {"Upper", "Lower", "Middle"}, {"Letter", "A4"});
    gdRisVidStampa = 1.2;
    std::string text = "[Opzioni Stampa]\r\n";
    std::map<std::string, std::string> stored;
    for (const Option& o : fullSet) {
        text += std::string(o.key) + "=" + o.stored + "\r\n";
        stored[o.key] = o.stored;
    }
    opz.readOptionSets(IniFile::parse(text), IniFile(), gdRisVidStampa);
    FrmSceltaStam& form = open();
    click(*form.ComSalOpz);
    for (int i = 0; fullSet[i].label; ++i)
        EXPECT_EQ(form.LabValParam(i).caption(), fullSet[i].label) << fullSet[i].key;

    click(*form.ComOk);
    EXPECT_FALSE(form.PicSalPar->visible());
    EXPECT_EQ(section(gsFileIni, "Opzioni Stampa"), stored);
    EXPECT_FALSE(IniFile::load(gsFileIniComune).hasSection("Opzioni Stampa"));

    opz.SepCampi = " ";
    opz.ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(0));
    opz.ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant());
    click(form.OptStampaSu(2));
    driver.chooseFile("/altrove/clienti.csv");
    click(form.ComOpz(2));
    click(*form.ComSalOpz);
    EXPECT_EQ(form.LabValParam(4).caption(), "/tmp") << "the folder saved, not the last one chosen";
    EXPECT_EQ(form.LabValParam(5).caption(), "Spazio");
    EXPECT_EQ(form.LabValParam(21).caption(), "Default");
    EXPECT_EQ(form.LabValParam(22).caption(), "Default");
}

TEST_F(SalvaOpzioniTest, EmptyValuesAndNoTrayOrPaperRemoveTheirKeys) {
    folder.write("comune.ini",
                 "[Elenco clienti]\r\nFileName=vecchio.csv\r\nCassetto=2\r\nTipoCarta=5\r\n"
                 "DelimStr=39\r\nNomePorta=lpt1\r\nAltro=resta\r\n");
    opz.FileName = "";
    opz.DelimStr = "";
    opz.StampanteOpz2 = "";
    opz.ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(0));
    FrmSceltaStam& form = open();
    click(*form.ComSalOpz);
    click(*form.OptIniStd);
    click(*form.OptSalInStamp);
    click(*form.ComOk);
    auto saved = section(gsFileIniComune, "Elenco clienti");
    for (const char* gone : {"FileName", "Cassetto", "TipoCarta", "NomePorta", "NomeStampante",
                             "FisFileName", "PathDefault", "FisCodIniComp"})
        EXPECT_EQ(saved.count(gone), 0u) << gone;
    EXPECT_EQ(saved["DelimStr"], "-1");
    EXPECT_EQ(saved["Altro"], "resta");
    EXPECT_EQ(saved["StaVid"], "0");
    EXPECT_FALSE(IniFile::load(gsFileIni).hasSection("Elenco clienti"));
}

TEST_F(SalvaOpzioniTest, OnlyCheckedOptionsAreWrittenAndAFailedWriteIsReported) {
    folder.write("pelmor.ini", "[Opzioni Stampa]\r\nStaVid=1\r\nMemVid=0\r\n");
    opz.StaVid = OpzStampa::kFissa;
    opz.MemVid = 1;
    FrmSceltaStam& form = open();
    click(*form.ComSalOpz);
    click(*form.ComDeSelTutto);
    click(form.Che(9));
    click(*form.ComOk);
    auto saved = section(gsFileIni, "Opzioni Stampa");
    EXPECT_EQ(saved, (std::map<std::string, std::string>{{"StaVid", "1"}, {"MemVid", "1"}}));
    click(*form.ComCancOpz);
    int ticked = 0;
    for (auto& [i, box] : form.Che) ticked += box->value();
    EXPECT_EQ(ticked, 25) << "each opening ticks every option again";
    click(*form.ComAnnulla);

    gsFileIni = folder.file("manca/pelmor.ini");
    click(*form.ComSalOpz);
    click(*form.ComDeSelTutto);
    click(form.Che(0));
    click(form.Che(9));
    driver.answerMessage("Scrittura delle opzioni di stampa NON RIUSCITA per: StaVid, MemVid", 1);
    click(*form.ComOk);
    EXPECT_TRUE(form.PicSalPar->visible()) << "the panel stays";
}

TEST_F(SalvaOpzioniTest, DeletingEverythingFromTheTerminalRemovesTheSection) {
    const std::string set =
        "[Opzioni Stampa]\r\nStaVid=1\r\nAltro=x\r\n[Elenco clienti]\r\nStaVid=2\r\n";
    folder.write("pelmor.ini", set);
    folder.write("comune.ini", set);
    FrmSceltaStam& form = open();
    click(*form.ComCancOpz);
    click(*form.ComOk);
    EXPECT_FALSE(IniFile::load(gsFileIni).hasSection("Opzioni Stampa"));
    EXPECT_TRUE(IniFile::load(gsFileIni).hasSection("Elenco clienti"));

    click(*form.ComCancOpz);
    click(*form.OptIniStd);
    click(*form.ComOk);
    EXPECT_EQ(section(gsFileIniComune, "Opzioni Stampa"),
              (std::map<std::string, std::string>{{"Altro", "x"}}))
        << "the common INI loses the 25 keys one by one";

    click(*form.ComCancOpz);
    click(*form.OptIniPers);
    click(*form.OptSalInStamp);
    click(form.Che(0));
    click(*form.ComOk);
    EXPECT_EQ(section(gsFileIni, "Elenco clienti"),
              (std::map<std::string, std::string>{{"StaVid", "2"}}))
        << "with a box cleared the keys go one by one";
}

TEST_F(SalvaOpzioniTest, SaveIsRefusedWhereNobodyWouldReadIt) {
    FrmSceltaStam& form = open();
    gsFileIniComune.clear();
    click(*form.ComSalOpz);
    click(*form.OptIniStd);
    driver.answerMessage("Manca il file ini comune a tutti i terminali", 1);
    click(*form.ComOk);
    EXPECT_TRUE(form.PicSalPar->visible());
    EXPECT_FALSE(IniFile::load(gsFileIni).hasSection("Opzioni Stampa"));

    OpzStampa senzaNome;
    form.ogOpzSta = &senzaNome;
    click(*form.OptIniPers);
    click(*form.OptSalInStamp);
    driver.answerMessage("La stampa non ha un nome", 1);
    click(*form.ComOk);
    EXPECT_TRUE(form.PicSalPar->visible());
    EXPECT_EQ(IniFile::load(gsFileIni).status(), IniFile::Status::Missing);
    click(*form.ComAnnulla);
    EXPECT_FALSE(form.PicSalPar->visible());
}

TEST_F(SalvaOpzioniTest, DefaultPrinterButtonPutsTheDefaultBackNamesItForFixedFormatOrClearsPdf) {
    addPrinter("Ufficio", "usb://ufficio");
    printers->setServerDefault("Ufficio");
    opz.StampanteOpz = "Magazzino";
    opz.StampanteOpz2 = "ipp://magazzino";
    opz.ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(2));
    FrmSceltaStam& form = open();
    click(*form.ComUsaDef);
    EXPECT_EQ(opz.StampanteOpz, "");
    EXPECT_EQ(opz.StampanteOpz2, "usb://ufficio");
    EXPECT_EQ(opz.LeggiParStampa("NumCassetto").toLong(), 0);

    click(form.OptStampaSu(3));
    click(*form.ComUsaDef);
    EXPECT_EQ(opz.FisFileName, "usb://ufficio");
    EXPECT_TRUE(opz.FisStampante);
    EXPECT_EQ(form.LabFileStampaFis->caption(), "usb://ufficio");

    click(form.OptStampaSu(1));
    opz.FisFileName.clear();
    click(*form.ComUsaDef);
    EXPECT_EQ(opz.FisFileName, "") << "video and file destinations ignore the button";

    // With automatic PDF on, the button only clears its box.
    closeAll();
    opz.StaVid = OpzStampa::kStampante;
    menu().SetParametro("UsaPdfCreator", "", Variant("S"));
    opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(true));
    opz.StampanteOpz = "PDFCreator";
    int clicks = 0;
    FrmSceltaStam::extensions().pdfAutomClick = [&](FrmSceltaStam&) { ++clicks; };
    FrmSceltaStam& pdf = open();
    ASSERT_EQ(pdf.ChePdfAutom->value(), 1);
    click(*pdf.ComUsaDef);
    EXPECT_EQ(pdf.ChePdfAutom->value(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(opz.StampanteOpz, "PDFCreator") << "the PDF box's own handler gives the printer back";
}

}  // namespace
}  // namespace tolvane::testing
