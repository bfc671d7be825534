// The print options object: its named parameters and the reading of saved option sets, with
// the encodings the options dialog writes them in.
#include "suite/opzioni/opz_stampa.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ini_file.h"

namespace tolvane {
namespace {

TEST(OpzStampaTest, NamedParametersIgnoreCaseAndTextTypeStoresText) {
    OpzStampa opz("Elenco");
    EXPECT_TRUE(opz.LeggiParStampa("PaginaDa").isEmpty()) << "a name never written reads Empty";
    opz.ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(5));
    opz.ScriviParStampa("StampanteDefOri", OpzStampa::kTipoTesto, Variant(12));
    opz.ScriviParStampa("paginada", OpzStampa::kTipoAltro, Variant(7));
    EXPECT_EQ(opz.LeggiParStampa("PAGINADA").toLong(), 7);
    EXPECT_TRUE(opz.LeggiParStampa("StampanteDefOri").isString());
    EXPECT_EQ(opz.LeggiParStampa("StampanteDefOri").text(), "12");
}

// The options dialog's save test shows a full set as read; these are the forms it leaves out.
TEST(OpzStampaTest, SavedSetDecodesItsFormsAndScalesTheFactorByThePrintZoom) {
    IniFile terminal = IniFile::parse(
        "[Opzioni Stampa]\r\nDelimStr=-1\r\nFatt=1,5\r\nFisUtilComp=0\r\nPdfNomeAutom=S\r\n"
        "InviaEmail=N\r\n");
    OpzStampa opz("Elenco");
    opz.DelimStr = "'";
    opz.FisUtilComp = true;
    opz.readOptionSets(terminal, IniFile(), 0);
    EXPECT_EQ(opz.DelimStr, "");
    EXPECT_FLOAT_EQ(opz.Fatt, 1.5f) << "no print zoom: the factor as stored";
    EXPECT_FALSE(opz.FisUtilComp);
    EXPECT_EQ(opz.LeggiParStampa("PdfAutomAbil"), Variant(true));
    EXPECT_EQ(opz.LeggiParStampa("EmailInvia"), Variant(false));

    opz.StaVid = OpzStampa::kVideo;
    opz.readOptionSets(IniFile::parse("[Opzioni Stampa]\nFatt=1,2\nStaVid=7\n"), IniFile(), 1.5);
    EXPECT_FLOAT_EQ(opz.Fatt, 1.8f) << "the stored factor scaled by the print zoom";
    EXPECT_EQ(opz.StaVid, OpzStampa::kVideo) << "a destination that does not exist is not taken";
}

TEST(OpzStampaTest, PrintSectionBeatsDefaultsAndTerminalBeatsCommon) {
    IniFile common = IniFile::parse(
        "[Opzioni Stampa]\nStaVid=1\nFileName=comune.csv\nDelimStr=39\nFisRighe=60\n"
        "[Elenco]\nStaVid=3\nFisColonne=100\nNomeStampante=Comune\n");
    IniFile terminal = IniFile::parse(
        "[opzioni stampa]\nFileName=terminale.csv\nFisColonne=90\n[ELENCO]\nFisRighe=70\n"
        "NomeStampante=Terminale\n");
    OpzStampa opz("Elenco");
    opz.readOptionSets(terminal, common, 0);
    EXPECT_EQ(opz.StaVid, 3) << "the print's own section wins over every default";
    EXPECT_EQ(opz.FileName, "terminale.csv") << "the terminal's default wins over the common one";
    EXPECT_EQ(opz.DelimStr, "'");
    EXPECT_EQ(opz.FisColonne, 100) << "a common print section wins over a terminal default";
    EXPECT_EQ(opz.FisRighe, 70);
    EXPECT_EQ(opz.StampanteOpz, "Terminale") << "in the print's own section too";
    EXPECT_EQ(opz.SepCampi, ";") << "an absent key leaves the setting as it was";

    OpzStampa senzaNome;
    senzaNome.readOptionSets(terminal, common, 0);
    EXPECT_EQ(senzaNome.StaVid, 1) << "a print without a name reads only the defaults";
}

// The dialogs show the other destinations; a fixed-format print sent to a printer only here.
TEST(OpzStampaTest, DescriptionOfAFixedFormatPrintNamesItsPrinter) {
    OpzStampa opz("Elenco");
    opz.StaVid = OpzStampa::kFissa;
    opz.FisFileName = "usb://fissa";
    opz.FisStampante = true;
    EXPECT_NE(opz.DescStampaAttuale("Ufficio").find("stampante usb://fissa"), std::string::npos)
        << opz.DescStampaAttuale("Ufficio");
}

}  // namespace
}  // namespace tolvane
