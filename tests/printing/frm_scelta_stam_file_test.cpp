// The file and fixed-format panels of the print options dialog: file dialogs and formats,
// separators and qualifiers, number boxes reduced to whole numbers, compressed print.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/frm_scelta_stam_fixture.h"

namespace tolvane::testing {
namespace {

using ui::user::click;
using ui::user::fill;
using ui::user::focus;

TEST_F(SceltaStamTest, FileDialogOffersTheWorkbookFirstAndStoresTheChosenFormat) {
    struct Case {
        int entry;
        int fileForm;
        bool numNoFormEnabled;
    };
    const char* filter = "Formato Excel|*.xlsx|Compatibile Excel|*.csv;*.txt|Testo|*.txt";
    const std::vector<Case> cases = {{1, 2, true}, {2, 0, false}, {3, 1, true}};
    opz.PathDefault = "/tmp/stampe";
    FrmSceltaStam& form = open();
    click(form.OptStampaSu(2));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        opz.SceltaVideo = true;
        driver.chooseFile("/tmp/stampe/clienti", c.entry);
        click(form.ComOpz(2));
        EXPECT_EQ(form.codFile->filter, filter);
        EXPECT_EQ(form.codFile->initDir, "/tmp/stampe");
        EXPECT_EQ(opz.FileName, "/tmp/stampe/clienti");
        EXPECT_EQ(opz.FileForm, c.fileForm);
        EXPECT_FALSE(opz.SceltaVideo);
        EXPECT_EQ(form.LabFileForm->caption(), opz.DescFormatoFile(c.fileForm));
        EXPECT_EQ(form.CheNumNoForm->enabled(), c.numNoFormEnabled);
    }
}

TEST_F(SceltaStamTest, CancelledFileDialogsKeepTheFilesAndAFixedFormatFileEndsPrinterOutput) {
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

    driver.chooseFile("/tmp/fissa.txt");
    click(form.ComOpz(3));
    EXPECT_EQ(form.codFile->filter, "Testo|*.txt");
    EXPECT_EQ(opz.FisFileName, "/tmp/fissa.txt");
    EXPECT_FALSE(opz.FisStampante);
    EXPECT_EQ(form.LabFileStampaFis->caption(), "/tmp/fissa.txt");
    EXPECT_NE(form.LabStaAttuale->caption().find("/tmp/fissa.txt"), std::string::npos);
}

TEST_F(SceltaStamTest, FillSelectsTheStoredSeparatorOrNoneForAnUnknownOneAndButtonsWriteTheirs) {
    struct Case {
        const char* sep;
        const char* delim;
        int sepButton;  // -1: none
        int delimButton;
    };
    const std::vector<Case> cases = {
        {"\t", "'", 0, 1},
        {" ", "", 3, 2},
        {"|", "\"", -1, 0},
        {"", "x", -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sep);
        opz.SepCampi = c.sep;
        opz.DelimStr = c.delim;
        FrmSceltaStam& form = open();
        for (int i = 0; i < 4; ++i) EXPECT_EQ(form.OptSepCampi(i).value(), i == c.sepButton) << i;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(form.OptDelimStr(i).value(), i == c.delimButton) << i;
        EXPECT_EQ(opz.SepCampi, c.sep) << "the fill writes back only what it shows";
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
    struct Case {
        ui::TextBox* FrmSceltaStam::*box;
        const char* typed;
        int OpzStampa::*number;  // nullptr: a sequence kept as typed
        int stored;
    };
    opz.FisColonne = 80;
    FrmSceltaStam& form = open();
    click(form.OptStampaSu(3));
    EXPECT_EQ(form.TxtFisColonne->text(), "80");
    const std::vector<Case> cases = {
        {&FrmSceltaStam::TxtFisMrAlt, "3", &OpzStampa::FisMrAlt, 3},
        {&FrmSceltaStam::TxtFisMrBas, "2,7", &OpzStampa::FisMrBas, 3},
        {&FrmSceltaStam::TxtFisRighe, "abc", &OpzStampa::FisRighe, 0},
        {&FrmSceltaStam::TxtFisCodIniComp, "\\015", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        fill(*(form.*c.box), c.typed);
        focus(*form.CheFisUtilComp);
        if (c.number) {
            EXPECT_EQ(opz.*c.number, c.stored);
        }
    }
    EXPECT_EQ(opz.FisCodIniComp, "\\015");
    EXPECT_TRUE(driver.messageTexts().empty()) << "no message for text that is no number";
    click(*form.CheFisUtilComp);
    EXPECT_TRUE(opz.FisUtilComp);
}

}  // namespace
}  // namespace tolvane::testing
