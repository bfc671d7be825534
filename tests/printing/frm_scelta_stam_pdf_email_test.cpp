// The PDF/e-mail side of prints: the parameters panel and its send configurations, saved through
// the menu server; the PDF automation of the dialog's box; the e-mail settings handed to the
// engine, its login request, and the customer e-mail look-up of the temporary recipient field.
#include "printing/frm_scelta_stam_pdf_email.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/db_comune.h"
#include "common/globali.h"
#include "db/base_database.h"
#include "platform/ini_file.h"
#include "printing/cerca_email_cliente.h"
#include "printing/email_stampa.h"
#include "printing/frm_scelta_stam_fixture.h"
#include "suite/decodifiche/lista_ricerca.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "suite/stampa/motore_stampa_lista.h"
#include "support/error_number.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

using ui::user::choose;
using ui::user::chooseCell;
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

    ASSERT_TRUE(form.Lab.exists(1019));
    EXPECT_EQ(form.Lab(1019).caption(), "DecodEmail");
    EXPECT_EQ(form.Lab(1019).container(), form.PicPdfEmail);
    EXPECT_TRUE(form.Lab(1019).visibleInEffect());

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

TEST_F(PdfEmailTest, SaveSelectionLeavesThePasswordsAndTheCommonIniKeepsThemEnciphered) {
    PdfEmailPanel& panel = openPanel();
    FrmSceltaStam& form = panel.form;
    for (int i : {15, 115, 215}) EXPECT_EQ(panel.ChePdfEmailSalva(i).value(), 0) << i;
    EXPECT_EQ(panel.ChePdfEmailSalva(14).value(), 1);
    const std::string perConfiguration = "XXXXXSXSSSSSXSNXSSSSSX";
    EXPECT_EQ(panel.SalvaCancIniPE(),
              "p" + std::string("SSSSSSSSSSSSSSNSSSSSSS") + perConfiguration + perConfiguration);

    fill(form.txt(1014), "mario");
    fill(form.txt(1015), "segreta");
    fill(form.txt(1011), "smtp.uno.it");
    click(panel.OptPEDove(1));
    click(panel.ChePdfEmailSalva(15));
    click(*panel.ComPESalva);
    ASSERT_FALSE(goMenuClient->requests().empty());
    const std::string request = goMenuClient->requests().back();
    EXPECT_EQ(request.substr(0, 18), "ScriviIniComuni +g");
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

    click(*form.ComParIniPE);
    click(*panel.ComPEDesel);
    click(panel.OptPEDove(1));
    panel.ChePdfEmailSalva(115).setValue(ui::check::Checked);  // on a configuration not in view
    EXPECT_EQ(panel.SalvaCancIniPE(),
              "g" + std::string(22, 'N') + "XXXXXNXNNNNNXNSXNNNNNX" + "XXXXXNXNNNNNXNNXNNNNNX");
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

// Columns of the customer list: the account's own, then the four e-mails.
constexpr int kDescrizione = 3;
constexpr int kEmail = 4;
constexpr int kEmail3 = 6;
constexpr int kEmail4 = 7;

class EmailStampaTest : public PdfEmailTest {
  protected:
    // The engine's options are the dialog's, which stay the fixture's.
    EmailStampaTest()
        : engine(std::shared_ptr<OpzStampa>(&opz, [](OpzStampa*) {}), PrintList{}, PageSetup{}) {
        std::string common = folder.file("comune.db");
        createDatabaseFromSchema(common, schemaPath("common.sql"));
        idDb = goDbase().ApriConnessione(common);
        gsConnDbMenu = idDb;
        goDbase().EseguiSql(idDb,
                            "INSERT INTO Appoggio (Codice, Descr1, Memo1, Descr2, Memo2) VALUES "
                            "('PdfEmail', 'Invio §CodSta§ del §Data§ ore §Ora§ §OraRid§', "
                            "'Invio §CodSta§ del §Data§ ore §Ora§ §OraRid§', "
                            "'§PersOgg§|§Terminale§|§Login§|§Gruppo§|§DescAzie§|§CodiceAzie§|"
                            "§IdAzienda§|§DescPrg§|§Titolo§|§Boh§', "
                            "'§DataRov§ §DataLong§ §DataAbb§')");
        for (const char* row : {"('Clienti', 'DescEmailAmm', '', 'Amministrazione')",
                                "('StAltro', 'EmailPredef', '', '3')"})
            goDbase().EseguiSql(idDb, std::string("INSERT INTO Personalizzazioni (Sezione, "
                                                  "Chiave, Login, Valore) VALUES ") +
                                          row);
        goMenuClient->setDatabase(&goDbase(), idDb);

        std::string company = folder.file("ditta.db");
        createDatabaseFromSchema(company, schemaPath("company.sql"));
        idCompany = goDbase().ApriConnessione(company);
        for (const char* row : {"('05', '01', '000001', 'Rossi', 'r@1', 'r@2', '', 'r@4')",
                                "('05', '01', '000002', 'Bianchi', 'b@1', '', 'b@3', '')"})
            goDbase().EseguiSql(idCompany, std::string("INSERT INTO PianoConti (Gruppo, Mastro, "
                                                       "Conto, Descrizione, Email, Email2, Email3, "
                                                       "Email4) VALUES ") +
                                               row);
        goDecodifiche = std::make_unique<ServizioDecodifiche>(goDbase(), idCompany);

        goMotoreStampa = &engine;
        opz.ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(true));
        set({{"EmailLogin", Variant("mario")},
             {"EmailPwd", Variant("segreta")},
             {"EmailServerSMTP", Variant("smtp.ditta.it")},
             {"EmailTo", Variant("cliente@x.it")},
             {"EmailTo1", Variant("cliente@x.it")},
             {"EmailNumTesto", whole(1)}});
    }
    ~EmailStampaTest() override {
        goDecodifiche.reset();
        goMenuClient->setDatabase(nullptr, "");
        goDbase().ChiudiConnessione(idCompany);
        goDbase().ChiudiConnessione(idDb);
        gsConnDbMenu.clear();
    }

    std::string handed(const char* name) { return opz.LeggiParStampa(name).text(); }

    // The user picks a cell of the list (row from 1) and confirms, or cancels with row 0; the
    // headings of the e-mail columns are kept.
    void pick(int row, int col) {
        driver.onForm("frmListaRicerca", [this, row, col](ui::Form& f) {
            auto& lista = static_cast<frmListaRicerca&>(f);
            headings.clear();
            for (int c = kEmail; c <= kEmail4; ++c)
                headings.push_back(lista.ListaRicerca->textMatrix(0, c));
            if (row == 0) {
                click(*lista.ComAnnulla);
                return;
            }
            chooseCell(*lista.ListaRicerca, row, col);
            click(*lista.comOk);
        });
    }

    MotoreStampaLista engine;
    std::string idDb;
    std::string idCompany;
    std::vector<std::string> headings;
};

TEST_F(EmailStampaTest, MissingDataAreRefusedWithMinus123BeforeAnyWriteOfAPrintToBeSent) {
    for (const auto& [name, description] : std::vector<std::pair<const char*, const char*>>{
             {"EmailLogin", "\r\n - Login:  - pwd compilata: Sì - SMTP: smtp.ditta.it"},
             {"EmailPwd", " - Login: mario - pwd compilata: No - SMTP: smtp.ditta.it"},
             {"EmailServerSMTP", " - pwd compilata: Sì - SMTP:  - Emailto: cliente@x.it"},
             {"EmailTo", " - Emailto:  - Ind.Temp: "}}) {
        SCOPED_TRACE(name);
        Variant saved = value(name);
        set(name, Variant(std::string()));
        opz.ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(false));
        EXPECT_NO_THROW(PassaParEmail()) << "a print not to be sent";
        opz.ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(true));
        const NumberedError e = errorRaised([] { PassaParEmail(); });
        EXPECT_EQ(e.number(), -123);
        EXPECT_EQ(e.description().rfind("Mancano dati necessari per l'invio dell'email\r\n", 0),
                  0u);
        EXPECT_NE(e.description().find(description), std::string::npos) << e.description();
        EXPECT_EQ(e.description().find("segreta"), std::string::npos);
        EXPECT_TRUE(opz.LeggiParStampa("EmailTo").isEmpty());
        set(name, saved);
    }
    // A failure after the checks keeps what was written before it.
    set("EmailFlagNotifica", Variant("forse"));
    EXPECT_THROW(PassaParEmail(), NumberedError);
    EXPECT_EQ(handed("EmailTo"), "cliente@x.it");
    EXPECT_TRUE(opz.LeggiParStampa("EmailLogin").isEmpty());
}

TEST_F(EmailStampaTest,
       SenderTakesItsDescriptionUnlessSendTypeIsSendmailOrSeeAndTheTemporaryAddressWins) {
    set("EmailCentro", Variant("Ditta Srl"));
    opz.ScriviParStampa("EmailToTemp", OpzStampa::kTipoAltro, Variant("temp@x.it"));
    for (const auto& [type, address, sender] :
         std::vector<std::tuple<const char*, const char*, const char*>>{
             {"C", "io@ditta.it", "\"Ditta Srl\" <io@ditta.it>"},
             {"O", "io@ditta.it", "\"Ditta Srl\" <io@ditta.it>"},
             {"s", "io@ditta.it", "io@ditta.it"},
             {"e", "io@ditta.it", "io@ditta.it"},
             {"C", "", ""}}) {
        set("EmailTipoInvio", Variant(type));
        set("EmailInd", Variant(address));
        set("EmailReplay", Variant(address));
        PassaParEmail();
        EXPECT_EQ(handed("EmailInd"), sender) << type;
        EXPECT_EQ(handed("EmailReplay"), sender) << type;
        EXPECT_EQ(handed("EmailTipoInvio"), type);
        EXPECT_EQ(handed("EmailTo"), "temp@x.it") << "the temporary address wins";
    }
}

TEST_F(EmailStampaTest, SubjectTextAndEverySettingAreHandedOverFromTheActiveConfiguration) {
    opz.ScriviParStampa("StampaDescPrg", OpzStampa::kTipoAltro, Variant("Registro"));
    opz.ScriviParStampa("StampaCaption", OpzStampa::kTipoAltro, Variant("Clienti attivi"));
    set({{"Login", Variant("mrossi")},
         {"Gruppo", Variant("amm")},
         {"DescAzie", Variant("Ditta Srl")},
         {"CodiceAzie", Variant("DIT")},
         {"IdAzienda", Variant("007")},
         {"Terminale", Variant("T01")}});
    PassaParEmail();
    EXPECT_EQ(handed("EmailOggetto"), "Invio Elenco clienti del 05/12/2026 ore 14:07 §OraRid§");
    EXPECT_EQ(handed("EmailTesto"), "Invio Elenco clienti del 05/12/2026 ore §Ora§ 1407");

    // Configuration 2 active: every setting of its own is handed over from it.
    const std::vector<std::pair<std::string, std::string>> configured = {
        {"EmailLogin", "secondo"},
        {"EmailPwd", "pwd2"},
        {"EmailServerSMTP", "smtp2"},
        {"EmailUsaSSL", "S"},
        {"EmailDirStunnel", "/opt/stunnel/"}};
    set("EmailTipoNum", whole(2));
    for (const auto& [name, text] : configured) set("2" + name, Variant(text));
    set({{"2EmailNumPorta", whole(465)},
         {"2EmailNumTesto", whole(2)},
         {"2EmailPersOggetto", Variant("Oggi §Data§")},
         {"EmailFileLog", Variant("/tmp/log.txt")},
         {"EmailLogSee", Variant("1")}});
    PassaParEmail();
    EXPECT_EQ(handed("EmailOggetto"),
              "Oggi 05/12/2026|T01|mrossi|amm|Ditta Srl|DIT|007|Registro|Clienti attivi|§Boh§");
    EXPECT_EQ(handed("EmailTesto"), "20261205 05/dicembre/2026 05/dic/2026");
    for (const auto& [name, text] : configured) EXPECT_EQ(handed(name.c_str()), text) << name;
    EXPECT_EQ(handed("EmailNumPorta"), "465");
    EXPECT_EQ(handed("EmailFileLog"), "/tmp/log.txt");
    EXPECT_EQ(handed("EmailLogSee"), "1");
    EXPECT_EQ(opz.LeggiParStampa("EmailFlagNotifica"), Variant(false)) << "never set: false";
    set("EmailFlagNotifica", Variant(true));
    PassaParEmail();
    EXPECT_EQ(opz.LeggiParStampa("EmailFlagNotifica"), Variant(true));

    for (int n : {0, 6}) {
        set("2EmailNumTesto", whole(n));
        PassaParEmail();
        EXPECT_EQ(handed("EmailOggetto"), "") << n;
        EXPECT_EQ(handed("EmailTesto"), "") << n;
    }
}

TEST_F(EmailStampaTest, RequestAnswersAndHandOver) {
    auto ok = [](FrmSceltaStam& form) { click(*pdfEmailPanel(form).ComPEOk); };
    auto temporaryAddress = [ok](FrmSceltaStam& form) {
        fill(form.txt(1520), "temp@x.it");
        ok(form);
    };
    set("EmailTo1", Variant());
    // The user's answer, whether the settings are handed over, the result, then EmailTo in the
    // options.
    for (const auto& [name, user, passaPar, result, handedTo] : std::vector<
             std::tuple<const char*, std::function<void(FrmSceltaStam&)>, bool, bool, const char*>>{
             {"temporary address alone", temporaryAddress, true, true, "temp@x.it"},
             {"window closed", [](FrmSceltaStam& form) { ui::user::close(form); }, true, false, ""},
             {"missing password refused until given",
              [this, ok](FrmSceltaStam& form) {
                  fill(form.txt(1015), "");
                  ui::user::key(form, ui::key::Back);
                  driver.answerMessage("mancano dati obbligatori per l'invio dell'email", 1);
                  ok(form);
                  EXPECT_TRUE(form.visible());
                  fill(form.txt(1015), "segreta");
                  ok(form);
              },
              false, true, ""},
             {"no transfer asked", ok, false, true, ""}}) {
        opz.ScriviParStampa("EmailTo", OpzStampa::kTipoAltro, Variant(""));
        driver.answerMessage("Login o password non valida", 1);
        driver.onForm("FrmSceltaStam",
                      [&answer = user](ui::Form& f) { answer(static_cast<FrmSceltaStam&>(f)); });
        EXPECT_EQ(ChiediDatiEmail(passaPar, true), result) << name;
        EXPECT_EQ(handed("EmailTo"), handedTo) << name;
    }

    // A hand-over that fails is shown, and the request gives false: the temporary address
    // typed in a dialog without the engine's options reaches no options.
    auto other = std::make_shared<OpzStampa>();
    other->ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(true));
    MotoreStampaLista otherEngine(other, PrintList{}, PageSetup{});
    driver.answerMessage("Login o password non valida", 1);
    driver.onForm("FrmSceltaStam",
                  [&](ui::Form& f) { temporaryAddress(static_cast<FrmSceltaStam&>(f)); });
    driver.answerMessage("Mancano dati necessari per l'invio dell'email", 1);
    EXPECT_FALSE(ChiediDatiEmail(otherEngine, true, false));
}

TEST_F(EmailStampaTest, PickedEmailCellOrTheDefaultColumnFillsTheFieldOnF2ToF5Only) {
    // The key, the cell picked (row 0: cancelled), asked not to write; then the address given,
    // its column and the field.
    FrmSceltaStam& form = openPanel().form;
    for (const auto& [key, row, col, noWrite, address, column, field] :
         std::vector<std::tuple<int, int, int, int, const char*, int, const char*>>{
             {ui::key::F4, 1, kDescrizione, 0, "r@1", 0, "r@1"},  // default column 3 empty
             {ui::key::F4, 2, kDescrizione, 0, "b@3", 0, "b@3"},
             {ui::key::F4, 1, kEmail4, 0, "r@4", 4, "r@4"},
             {ui::key::F4, 1, kEmail3, 0, "r@1", 3, "r@1"},  // an empty cell falls back too
             {ui::key::F2, 0, 0, 0, "", 0, "prima"},
             {ui::key::F5, 1, kEmail4, 1, "r@4", 4, "prima"}}) {
        SCOPED_TRACE(std::to_string(row) + "/" + std::to_string(col));
        form.txt(1520).setText("prima");
        pick(row, col);
        int given = -1;
        EXPECT_EQ(CercaEmailCliente(form, 1520, key, 0, Variant("x1"), noWrite, given), address);
        EXPECT_EQ(form.txt(1520).text(), field);
        EXPECT_EQ(given, column);
        EXPECT_EQ(headings, (std::vector<std::string>{"Principale", "Amministrazione",
                                                      "Commerciale", "Spedizioni"}));
    }

    // Only F2 to F5 without Shift, in the temporary field, open the list.
    ui::user::focus(form.txt(1520));
    ui::user::key(form, ui::key::F6);
    ui::user::key(form, ui::key::F3, ui::shift::Shift);  // a list opened here would be unexpected
    pick(2, kEmail);
    ui::user::key(form, ui::key::F3);
    EXPECT_EQ(form.txt(1520).text(), "b@1");
    EXPECT_EQ(form.Lab(1520).caption(), "Bianchi") << "the label beside names the customer";

    int given = -1;
    EXPECT_EQ(CercaEmailCliente(form, 1520, ui::key::F6, 0, Variant("x1"), 0, given), "");
    goDecodifiche.reset();
    ui::user::key(form, ui::key::F2);
    EXPECT_EQ(form.txt(1520).text(), "b@1") << "no company open: no look-up";
}

TEST(ColonnaEmailPredefinita, NumberOrWordNamesTheColumn) {
    const std::pair<const char*, int> cases[] = {
        {"2", 2},           {"9", 4},          {"0", 1},
        {"amm", 2},         {"Sped", 4},       {"Amministrativo", 2},
        {"commerciale", 3}, {"Spedizioni", 1}, {"", 1},
    };
    for (const auto& [setting, column] : cases)
        EXPECT_EQ(ColonnaEmailPredefinita(setting), column) << setting;
}

}  // namespace
}  // namespace tolvane::testing
