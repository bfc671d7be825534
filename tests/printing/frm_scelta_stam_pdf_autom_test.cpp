// PDF automation of the print options dialog: the PDF printer chosen by the settings, the PDF
// parameters written on ticking, everything undone on clearing, and the e-mail box.
#include <gtest/gtest.h>

#include <string>

#include "common/globali.h"
#include "printing/frm_scelta_stam_pdf_email.h"
#include "printing/frm_scelta_stam_fixture.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

using ui::user::click;

TEST_F(PdfEmailTest, TickingPointsThePrintAtTheChosenPdfPrinter) {
    struct Case {
        const char* creator;
        const char* pdf995;
        const char* printer;  // expected StampanteOpz
    } cases[] = {
        {"S", "S", "PDFCreator (rete)"},
        {"s", "N", "PDFCreator (rete)"},
        {"N", "S", "PDF995"},
        {"N", "N", ""},
    };
    addPrinter("Laser", "ipp://laser");
    addPrinter("PDF995", "pdf995:/");
    addPrinter("PDFCreator (rete)", "pdfcreator:/");
    printers->setServerDefault("Laser");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.creator) + c.pdf995);
        set("UsaPdfCreator", Variant(c.creator));
        set("UsaPdf995", Variant(c.pdf995));
        set("CreatorAutosaveStart", Variant("S"));
        set("PdfNomeFile", Variant("/tmp/pdf"));
        opz.StampanteOpz.clear();
        opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(false));
        FrmSceltaStam& form = open();
        form.ChePdfAutom->setValue(ui::check::Checked);
        EXPECT_EQ(opz.StampanteOpz, c.printer);
        if (*c.printer) {
            EXPECT_EQ(form.LabStaAttuale->caption(), opz.DescStampaAttuale(""));
        }
        EXPECT_EQ(opz.LeggiParStampa("PdfAutomAbil"), Variant(true));
        EXPECT_EQ(opz.LeggiParStampa("PdfNomeFile").text(), "/tmp/pdf");
        auto par = splitPdfAutomImpPar(opz.LeggiParStampa("PdfAutomImpPar"));
        EXPECT_EQ(par, (std::array<std::string, 5>{gsFileIni, gsFileIniComune, c.creator, "S",
                                                   c.pdf995}));
        EXPECT_TRUE(form.CheInviaEmail->enabled());
        form.unload();
    }
}

TEST_F(PdfEmailTest, ClearingUndoesEmailAndGivesThePrinterBack) {
    addPrinter("Laser", "ipp://laser", {"Upper/Superiore"});
    addPrinter("PDFCreator", "pdfcreator:/");
    printers->setServerDefault("Laser");
    set("UsaPdfCreator", Variant("S"));
    set("StampeEmail", Variant("S"));
    FrmSceltaStam& form = open();
    ASSERT_TRUE(form.ChePdfAutom->visible());
    ASSERT_TRUE(form.CheInviaEmail->visible());
    EXPECT_FALSE(form.CheInviaEmail->enabled()) << "activation with automatic PDF off";

    ASSERT_EQ(form.cboCassetti->listCount(), 2);
    click(*form.ChePdfAutom);
    EXPECT_EQ(opz.StampanteOpz, "PDFCreator");
    EXPECT_EQ(form.cboCassetti->listCount(), 1) << "the PDF printer has no trays";
    click(*form.CheInviaEmail);
    EXPECT_EQ(opz.LeggiParStampa("EmailInvia"), Variant(true));
    click(*form.CheInviaEmail);
    EXPECT_EQ(opz.LeggiParStampa("EmailInvia"), Variant(false));
    click(*form.CheInviaEmail);

    click(*form.ChePdfAutom);
    EXPECT_EQ(opz.StampanteOpz, "Laser") << "back to the default printer";
    EXPECT_EQ(form.cboCassetti->listCount(), 2);
    EXPECT_EQ(opz.LeggiParStampa("EmailInvia"), Variant(false));
    EXPECT_EQ(opz.LeggiParStampa("PdfAutomAbil"), Variant(false));
    EXPECT_EQ(form.CheInviaEmail->value(), 0);
    EXPECT_FALSE(form.CheInviaEmail->enabled());
}

TEST_F(PdfEmailTest, ParametersOfTheAutomationTravelAsOneTextAndComeBackApart) {
    std::array<std::string, 5> values{"/a b/pelmor.ini", "", "S", "N", ""};
    EXPECT_EQ(splitPdfAutomImpPar(Variant(joinPdfAutomImpPar(values))), values);
    EXPECT_EQ(splitPdfAutomImpPar(Variant()), (std::array<std::string, 5>{}));
}

}  // namespace
}  // namespace tolvane::testing
