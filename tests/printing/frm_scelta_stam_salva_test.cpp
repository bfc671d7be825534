// Saved option sets: the save panel's values and selection, writing a set to the terminal or
// the common INI as defaults or for this print, deleting it, reading it back, and the default
// printer button.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "printing/frm_scelta_stam_fixture.h"

namespace tolvane::testing {
namespace {

using ui::user::click;

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

TEST_F(SalvaOpzioniTest, OnlyCheckedOptionsAreTouched) {
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
    click(*form.ComCancOpz);
    click(*form.ComDeSelTutto);
    click(form.Che(0));
    click(*form.ComOk);
    EXPECT_TRUE(section(gsFileIni, "Elenco clienti").empty());
}

TEST_F(SalvaOpzioniTest, SaveIsRefusedWhereNobodyWouldReadItOrWhenTheWriteFails) {
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

    form.ogOpzSta = &opz;
    gsFileIni = folder.file("manca/pelmor.ini");
    click(*form.ComSalOpz);
    click(*form.ComDeSelTutto);
    click(form.Che(0));
    click(form.Che(9));
    driver.answerMessage("Scrittura delle opzioni di stampa NON RIUSCITA per: StaVid, MemVid", 1);
    click(*form.ComOk);
    EXPECT_TRUE(form.PicSalPar->visible()) << "a failed write is reported and the panel stays";
}

TEST_F(SalvaOpzioniTest, DefaultPrinterButtonPutsTheDefaultBackOrNamesItForFixedFormat) {
    addPrinter("Ufficio", "usb://ufficio");
    addPrinter("\\\\server\\rete", "ipp://server/rete");
    printers->setServerDefault("Ufficio");
    opz.StampanteOpz = "\\\\server\\rete";
    opz.StampanteOpz2 = "ipp://server/rete";
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
    menu().SetParametro("OSPlatform", "", Variant(2));
    printers->setServerDefault("\\\\server\\rete");
    click(*form.ComUsaDef);
    EXPECT_EQ(opz.FisFileName, "\\\\server\\rete") << "a network printer goes by its name";
    EXPECT_EQ(form.LabFileStampaFis->caption(), "\\\\server\\rete");

    click(form.OptStampaSu(1));
    opz.FisFileName.clear();
    click(*form.ComUsaDef);
    EXPECT_EQ(opz.FisFileName, "") << "video and file destinations ignore the button";
}

TEST_F(SalvaOpzioniTest, DefaultPrinterButtonWithAutomaticPdfOnlyUntucksIt) {
    addPrinter("Ufficio", "usb://ufficio");
    printers->setServerDefault("Ufficio");
    menu().SetParametro("UsaPdfCreator", "", Variant("S"));
    opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(true));
    opz.StampanteOpz = "PDFCreator";
    int clicks = 0;
    FrmSceltaStam::extensions().pdfAutomClick = [&](FrmSceltaStam&) { ++clicks; };
    FrmSceltaStam& form = open();
    ASSERT_EQ(form.ChePdfAutom->value(), 1);
    click(*form.ComUsaDef);
    EXPECT_EQ(form.ChePdfAutom->value(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(opz.StampanteOpz, "PDFCreator") << "the PDF box's own handler gives the printer back";
}

}  // namespace
}  // namespace tolvane::testing
