// The PDF/e-mail parameters panel: single and multiple send configurations shown and written
// back, the save selection, saving to and deleting from the INI files through the menu server,
// the checks before writing and the cancel; the PDF automation that the dialog's box ticks and
// clears, with the e-mail box.
#include "printing/frm_scelta_stam_pdf_email.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "common/globali.h"
#include "platform/ini_file.h"
#include "printing/frm_scelta_stam_fixture.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

using ui::user::choose;
using ui::user::click;
using ui::user::fill;

TEST_F(PdfEmailTest, SingleConfigurationShowsUnprefixedKeysAndOkMakesItConfigurationOne) {
    set({{"EmailLogin", Variant("mario")},
         {"EmailServerSMTP", Variant("smtp.uno.it")},
         {"EmailTipoInvio", Variant("c")},
         {"EmailNumPorta", whole(25)},
         {"EmailNumTesto", whole(0)},
         {"EmailTo2", Variant("due@ditta.it")},
         {"EmailToNum", whole(2)},
         {"EmailFlagNotifica", Variant(true)},
         {"UsaPdf995", Variant("s")}});
    opz.ScriviParStampa("EmailToTemp", OpzStampa::kTipoAltro, Variant("temp@x.it"));
    PdfEmailPanel& panel = openPanel();
    FrmSceltaStam& form = panel.form;

    // What is shown is what OK writes back below.
    EXPECT_FALSE(panel.mbPiuConfig);
    EXPECT_EQ(form.txt(1017).text(), "") << "0 shows as an empty box";
    EXPECT_EQ(form.txt(1520).text(), "temp@x.it");
    EXPECT_EQ(value("EmailToNum"), whole(1))
        << "a single configuration is written to send to the first address";
    std::vector<bool> shown;
    for (int k = 0; k < 3; ++k) shown.push_back(panel.PicEmailAttiva(k).visible());
    EXPECT_EQ(shown, (std::vector<bool>{true, false, false}));

    fill(form.txt(1011), "smtp.due.it");
    fill(form.txt(1520), "altro@x.it");
    click(*panel.ComPEOk);
    EXPECT_FALSE(form.PicPdfEmail->visible());
    // SSL off is written empty, not N; EmailToNum is the address shown.
    EXPECT_EQ(texts({"EmailServerSMTP", "1EmailServerSMTP", "1EmailLogin", "1EmailTipoInvio",
                     "1EmailNumPorta", "EmailTo", "UsaPdf995", "UsaPdfCreator", "EmailUsaSSL",
                     "EmailFlagNotifica"}),
              "EmailServerSMTP=smtp.due.it\n1EmailServerSMTP=smtp.due.it\n1EmailLogin=mario\n"
              "1EmailTipoInvio=C\n1EmailNumPorta=25\nEmailTo=due@ditta.it\nUsaPdf995=S\n"
              "UsaPdfCreator=N\nEmailUsaSSL=\nEmailFlagNotifica=Vero\n");
    EXPECT_EQ(value("EmailTipoNum"), whole(1));
    EXPECT_EQ(value("EmailToNum"), whole(2));
    EXPECT_EQ(opz.LeggiParStampa("EmailToTemp").text(), "altro@x.it");

    click(*form.ComParIniPE);
    EXPECT_TRUE(panel.mbPiuConfig) << "the next showing reads configuration 1";
    EXPECT_EQ(form.txt(1011).text(), "smtp.due.it");
}

TEST_F(PdfEmailTest, ActiveConfigurationIsShownAndOkWritesAllThreeWithPrefixes) {
    set({{"EmailTipoNum", whole(2)},
         {"1EmailServerSMTP", Variant("s1")},
         {"2EmailServerSMTP", Variant("s2")},
         {"2EmailTipoInvio", Variant("E")},
         {"2EmailUsaSSL", Variant("S")},
         {"2EmailDirStunnel", Variant(folder.path().string())}});
    PdfEmailPanel& panel = openPanel();
    FrmSceltaStam& form = panel.form;
    EXPECT_TRUE(panel.mbPiuConfig);
    EXPECT_TRUE(panel.PicEmailAttiva(1).visible());
    EXPECT_FALSE(panel.PicEmailAttiva(0).visible());
    EXPECT_EQ(panel.CboEmailTipoNum->listIndex(), 1);

    choose(*panel.CboEmailTipoNum, 2);
    EXPECT_TRUE(panel.PicEmailAttiva(2).visible());
    fill(form.txt(1211), "s3");
    click(*panel.ComPEOk);
    // Send type: See on configuration 2; nothing stored gives Sendmail on 1, not used on 3.
    EXPECT_EQ(texts({"1EmailServerSMTP", "2EmailServerSMTP", "3EmailServerSMTP", "1EmailTipoInvio",
                     "2EmailTipoInvio", "3EmailTipoInvio", "2EmailUsaSSL"}),
              "1EmailServerSMTP=s1\n2EmailServerSMTP=s2\n3EmailServerSMTP=s3\n1EmailTipoInvio=S\n"
              "2EmailTipoInvio=E\n3EmailTipoInvio=\n2EmailUsaSSL=S\n");
    EXPECT_EQ(value("EmailTipoNum"), whole(3));

    // Stored numbers beyond three show the last boxes instead of failing.
    set("EmailToNum", whole(7));
    set("EmailTipoNum", whole(9));
    click(*form.ComParIniPE);
    EXPECT_EQ(panel.miEmailToCor, 3);
    EXPECT_EQ(panel.miEmailTipoCor, 3);
    EXPECT_TRUE(panel.PicEmailAttiva(2).visible());
    EXPECT_TRUE(form.txt(1515).visible());
}

TEST_F(PdfEmailTest, SelectAllLeavesThePasswordsAndBuildsTheSelection) {
    PdfEmailPanel& panel = openPanel();
    for (int i : {15, 115, 215}) EXPECT_EQ(panel.ChePdfEmailSalva(i).value(), 0) << i;
    EXPECT_EQ(panel.ChePdfEmailSalva(14).value(), 1);
    const std::string perConfiguration = "XXXXXSXSSSSSXSNXSSSSSX";
    std::string expected =
        "p" + std::string("SSSSSSSSSSSSSSNSSSSSSS") + perConfiguration + perConfiguration;
    EXPECT_EQ(panel.SalvaCancIniPE(), expected);

    click(*panel.ComPEDesel);
    click(panel.OptPEDove(1));
    panel.ChePdfEmailSalva(115).setValue(ui::check::Checked);  // on a configuration not in view
    std::string none =
        "g" + std::string(22, 'N') + "XXXXXNXNNNNNXNSXNNNNNX" + "XXXXXNXNNNNNXNNXNNNNNX";
    EXPECT_EQ(panel.SalvaCancIniPE(), none);
}

TEST_F(PdfEmailTest, SaveToCommonIniKeepsThePasswordEncipheredAndDeleteRemovesTheKeys) {
    PdfEmailPanel& panel = openPanel();
    FrmSceltaStam& form = panel.form;
    fill(form.txt(1014), "mario");
    fill(form.txt(1015), "segreta");
    fill(form.txt(1011), "smtp.uno.it");
    click(panel.OptPEDove(1));
    click(panel.ChePdfEmailSalva(15));
    click(*panel.ComPESalva);
    EXPECT_FALSE(form.PicPdfEmail->visible());
    ASSERT_FALSE(goMenuClient->requests().empty());
    const std::string request = goMenuClient->requests().back();
    EXPECT_EQ(request.substr(0, 17), "ScriviIniComuni +");
    EXPECT_EQ(request.size(), std::string("ScriviIniComuni ").size() + 69);
    EXPECT_EQ(request.back(), 'V');

    IniFile common = IniFile::load(folder.file("menu_comune.ini"));
    EXPECT_EQ(common.getString("Email", "1EmailLogin", "?"), "mario");
    EXPECT_EQ(common.getString("Email", "1EmailServerSMTP", "?"), "smtp.uno.it");
    std::string stored = common.getString("Email", "1EmailPwd", "");
    EXPECT_FALSE(stored.empty());
    EXPECT_EQ(stored.find("segreta"), std::string::npos)
        << "the password is never written in clear";
    EXPECT_FALSE(std::filesystem::exists(folder.file("menu.ini")) &&
                 IniFile::load(folder.file("menu.ini")).hasKey("Email", "1EmailLogin"));

    set("1EmailServerSMTP", Variant("cambiato"));
    click(*form.ComParIniPE);
    EXPECT_EQ(form.txt(1011).text(), "cambiato");
    click(*panel.ComPERileggi);
    EXPECT_EQ(form.txt(1011).text(), "smtp.uno.it") << "read back from the INI file";
    EXPECT_EQ(form.txt(1015).text(), "segreta");

    click(panel.OptPEDove(1));
    click(*panel.ComPECanc);
    EXPECT_FALSE(form.PicPdfEmail->visible());
    const auto& requests = goMenuClient->requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[requests.size() - 2].substr(0, 17), "ScriviIniComuni -");
    EXPECT_EQ(requests.back(), "LeggiIniComuni 1");
    common = IniFile::load(folder.file("menu_comune.ini"));
    EXPECT_FALSE(common.hasKey("Email", "1EmailLogin"));
    EXPECT_TRUE(common.hasKey("Email", "1EmailPwd")) << "its save box was left unticked";
}

TEST_F(PdfEmailTest, ChecksBeforeWritingRefuseWrongSslSettings) {
    std::string existing = folder.path().string();
    // The send type is an option button of configuration 1 (3: See).
    for (const auto& [sendType, stunnel, message] :
         std::vector<std::tuple<int, std::string, std::string>>{
             {1, existing, "L'uso di SSL è possibile solo usando tipo invio 'See'"},
             {3, "", "Con l'uso di SSL è obbligatorio inserire la directory stunnel"},
             {3, existing + "/manca", "La directory stunnel è inesistente"},
             {3, existing, ""}}) {
        SCOPED_TRACE(message);
        set("EmailServerSMTP", Variant("prima"));
        PdfEmailPanel& panel = openPanel();
        FrmSceltaStam& form = panel.form;
        click(panel.OptPETipoInvio(sendType));
        click(panel.ChePdfEmailVal(20));
        fill(form.txt(1021), stunnel);
        fill(form.txt(1011), "dopo");
        if (!message.empty()) driver.answerMessage(message, 1);
        click(*panel.ComPEOk);
        EXPECT_EQ(form.PicPdfEmail->visible(), !message.empty());
        EXPECT_EQ(value("EmailServerSMTP").text(), message.empty() ? "dopo" : "prima");
        form.unload();
        set("EmailTipoNum", Variant());
    }
}

TEST_F(PdfEmailTest, CancelAsksAndWritesNothingOkWritesTheReformattedPortAFieldInErrorStops) {
    PdfEmailPanel& panel = openPanel();
    FrmSceltaStam& form = panel.form;
    fill(form.txt(1014), "nuovo");
    driver.answerMessage("Confermi uscita senza salvataggio", "&No");
    click(*panel.ComPEAnnulla);
    EXPECT_TRUE(form.PicPdfEmail->visible());
    driver.answerMessage("Confermi uscita senza salvataggio", "&Sì");
    click(*panel.ComPEAnnulla);
    EXPECT_FALSE(form.PicPdfEmail->visible());
    EXPECT_TRUE(value("EmailLogin").isEmpty());
    click(*form.ComParIniPE);
    fill(form.txt(1014), "altro");
    click(*panel.ComPeDatiCor);
    EXPECT_EQ(form.txt(1014).text(), "") << "the edits are discarded";

    fill(form.txt(1019), "0587");
    fill(form.txt(1014), "x");
    EXPECT_EQ(form.txt(1019).text(), "587");
    click(*panel.ComPEOk);
    EXPECT_EQ(value("EmailNumPorta"), whole(587));

    click(*form.ComParIniPE);
    fill(form.txt(1014), "y");
    form.txt(1019).setBackColor(glColErrore);
    driver.answerMessage("ci sono dei dati non validi", 1);
    click(*panel.ComPESalva);
    EXPECT_TRUE(form.PicPdfEmail->visible());
    EXPECT_TRUE(form.txt(1019).hasFocus());
    EXPECT_EQ(value("1EmailLogin").text(), "x") << "nothing written";
}

TEST_F(PdfEmailTest, TickingPointsThePrintAtTheChosenPdfPrinter) {
    addPrinter("Laser", "ipp://laser");
    addPrinter("PDF995", "pdf995:/");
    addPrinter("PDFCreator (rete)", "pdfcreator:/");
    printers->setServerDefault("Laser");
    for (const auto& [creator, pdf995, printer] :
         std::vector<std::tuple<const char*, const char*, const char*>>{
             {"S", "S", "PDFCreator (rete)"},
             {"s", "N", "PDFCreator (rete)"},
             {"N", "S", "PDF995"},
             {"N", "N", ""}}) {
        SCOPED_TRACE(std::string(creator) + pdf995);
        set("UsaPdfCreator", Variant(creator));
        set("UsaPdf995", Variant(pdf995));
        set("CreatorAutosaveStart", Variant("S"));
        set("PdfNomeFile", Variant("/tmp/pdf"));
        opz.StampanteOpz.clear();
        opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(false));
        FrmSceltaStam& form = open();
        form.ChePdfAutom->setValue(ui::check::Checked);
        EXPECT_EQ(opz.StampanteOpz, printer);
        EXPECT_EQ(opz.LeggiParStampa("PdfAutomAbil"), Variant(true));
        EXPECT_EQ(opz.LeggiParStampa("PdfNomeFile").text(), "/tmp/pdf");
        auto par = splitPdfAutomImpPar(opz.LeggiParStampa("PdfAutomImpPar"));
        EXPECT_EQ(par,
                  (std::array<std::string, 5>{gsFileIni, gsFileIniComune, creator, "S", pdf995}));
        EXPECT_TRUE(form.CheInviaEmail->enabled());
        form.unload();
    }
    std::array<std::string, 5> values{"/a b/pelmor.ini", "", "S", "N", ""};
    EXPECT_EQ(splitPdfAutomImpPar(Variant(joinPdfAutomImpPar(values))), values);
    EXPECT_EQ(splitPdfAutomImpPar(Variant()), (std::array<std::string, 5>{}));
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

    click(*form.ChePdfAutom);
    EXPECT_EQ(opz.StampanteOpz, "Laser") << "back to the default printer";
    EXPECT_EQ(form.cboCassetti->listCount(), 2);
    EXPECT_EQ(opz.LeggiParStampa("EmailInvia"), Variant(false));
    EXPECT_EQ(opz.LeggiParStampa("PdfAutomAbil"), Variant(false));
    EXPECT_EQ(form.CheInviaEmail->value(), 0);
    EXPECT_FALSE(form.CheInviaEmail->enabled());
}

}  // namespace
}  // namespace tolvane::testing
