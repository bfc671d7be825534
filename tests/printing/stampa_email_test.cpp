// A list printed with "Invia per Email" from the list print dialog, as the user drives it, to a
// loopback SMTP server: the message with its PDF, the login asked again once, a cancel, a server
// that cannot be reached or never answers, the progress window while the mail goes and its stop
// button, and the log line of each attempt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/db_comune.h"
#include "common/globali.h"
#include "db/base_database.h"
#include "printing/frm_scelta_stam_fixture.h"
#include "printing/frm_scelta_stam_pdf_email.h"
#include "printing/stampa_lista_fixture.h"
#include "suite/stampa/invio_email.h"
#include "support/private_smtp.h"

namespace tolvane::testing {
namespace {

using ui::user::click;
using ui::user::fill;

class StampaEmailTest : public StampaListaTest {
  protected:
    StampaEmailTest() {
        installMenu(folder);
        registraPannelloPdfEmail();
        const std::string common = folder.file("comune.db");
        createDatabaseFromSchema(common, schemaPath("common.sql"));
        gsConnDbMenu = goDbase().ApriConnessione(common);
        goDbase().EseguiSql(gsConnDbMenu,
                            "INSERT INTO Appoggio (Codice, Descr1, Memo1) VALUES "
                            "('PdfEmail', 'Stampa §CodSta§', 'In allegato §Titolo§.')");
        auto system = std::make_shared<SystemMailTransports>();
        system->timeoutSeconds = 5;
        previous_ = setMailTransports(system);
        std::filesystem::create_directories(folder.file("pdf"));
        for (const auto& [name, value] :
             std::vector<std::pair<const char*, const char*>>{{"EmailTipoInvio", "E"},
                                                              {"EmailServerSMTP", "127.0.0.1"},
                                                              {"EmailLogin", "mario"},
                                                              {"EmailTo", "uno@cliente.it"},
                                                              {"EmailTo1", "uno@cliente.it"},
                                                              {"EmailInd", "ufficio@ditta.it"},
                                                              {"EmailCentro", "Centro"}}) {
            set(name, Variant(value));
        }
        set("EmailNumTesto", Variant(static_cast<std::int16_t>(1)));
        set("EmailFileLog", Variant(folder.file("invio.log")));
    }
    ~StampaEmailTest() override {
        setMailTransports(previous_);
        goDbase().ChiudiConnessione(gsConnDbMenu);
        gsConnDbMenu.clear();
        FrmSceltaStam::extensions() = {};
        goMenuClient.reset();
    }

    void set(const std::string& name, const Variant& value) {
        goMenuClient->SetParametro(name, "", value);
    }

    // The list printed by e-mail, with the login the menu server holds.
    void print(int port, const char* password) {
        // The panel keeps the port as a 16-bit whole number, as it does any port.
        set("EmailNumPorta", Variant(static_cast<std::int16_t>(port)));
        set("EmailPwd", Variant(password));
        FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
        dialog.opzioni()->ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(true));
        dialog.opzioni()->ScriviParStampa("PdfNomeFile", OpzStampa::kTipoAltro,
                                          Variant(folder.file("pdf")));
        click(dialog.CmdStampa);
        dialog.unload();
    }
    // The log's lines, each cut to its result.
    std::vector<std::string> logResults() const {
        std::vector<std::string> out;
        const std::string log = ScratchFolder::read(folder.file("invio.log"));
        EXPECT_EQ(log.find("giusta"), std::string::npos);
        EXPECT_EQ(log.find("sbagliata"), std::string::npos);
        EXPECT_EQ(log.find("In allegato"), std::string::npos);
        for (std::size_t start = 0, end; (end = log.find('\n', start)) != std::string::npos;
             start = end + 1) {
            const std::string line = log.substr(start, end - start);
            EXPECT_NE(line.find("\tuno@cliente.it\tStampa Elenco aziende\t" + folder.file("pdf/")),
                      std::string::npos)
                << line;
            const std::string result = line.substr(line.rfind('\t') + 1);
            out.push_back(result.substr(0, result.find(':')));
        }
        return out;
    }
    std::vector<std::string> pdfs() const {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(folder.file("pdf")))
            out.push_back(entry.path().string());
        return out;
    }
    // Answers the login request: a new password and OK, or a confirmed cancel.
    void answerLoginRequest(const char* password) {
        driver.answerMessage("Login o password non valida per spedizione email", 1);
        driver.onForm("FrmSceltaStam", [password](ui::Form& f) {
            auto& form = static_cast<FrmSceltaStam&>(f);
            PdfEmailPanel& panel = pdfEmailPanel(form);
            if (password != nullptr) {
                fill(form.txt(1015), password);
                click(*panel.ComPEOk);
            } else {
                click(*panel.ComPEAnnulla);
            }
        });
        if (password == nullptr) driver.answerMessage("Confermi annullamento invio email", "&Sì");
    }
    // Looks at the progress window at each DoEvents point until it says the mail is on its way;
    // then keeps what it shows in `sending` and runs `then` as the user.
    void watchSending(std::function<void()> then = {}) {
        look_ = [this, then] {
            auto& progress = ui::desktop().instance<frmStampaInCorso>();
            if (progress.LblPrePag.caption() != "Invio dell'email in corso:") {
                driver.atDoEvents(1, look_);
                return;
            }
            sending = progress.LblPrePag.caption() + " " + progress.LblPag.caption();
            if (then) then();
        };
        driver.atDoEvents(1, look_);
    }

    std::string sending;

  private:
    std::shared_ptr<MailTransports> previous_;
    std::function<void()> look_;
};

TEST_F(StampaEmailTest, ListReachesTheServerByEachSmtpTypeAfterTheLoginAskedAgain) {
    PrivateSmtp server("plain");
    // "C" hands the sender over as "Centro" <address>, "E" as the address alone.
    set("EmailTipoInvio", Variant("C"));
    print(server.port(), "giusta");
    set("EmailTipoInvio", Variant("E"));
    answerLoginRequest("giusta");
    print(server.port(), "sbagliata");
    ASSERT_EQ(server.count(), 2) << server.log();
    const std::vector<std::string> kept = pdfs();
    ASSERT_EQ(kept.size(), 2u) << "each print keeps its PDF under a name of its own";
    EXPECT_EQ(kept[0].rfind(folder.file("pdf/Elenco aziende_"), 0), 0u) << kept[0];
    EXPECT_TRUE(queue->jobs().empty()) << "a print sent by e-mail reaches no printer";
    for (int n : {1, 2}) {
        EXPECT_EQ(server.received(n, "Subject"), "Stampa Elenco aziende");
        EXPECT_EQ(server.received(n, "text"), "In allegato Elenco aziende.");
        EXPECT_EQ(server.received(n, "From"), "Centro <ufficio@ditta.it>");
        EXPECT_EQ(server.received(n, "attachment.name"), "Elenco aziende.pdf");
        const std::string bytes = server.received(n, "attachment.bytes");
        EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
        EXPECT_TRUE(bytes == ScratchFolder::read(kept[0]) || bytes == ScratchFolder::read(kept[1]));
    }
    EXPECT_EQ(logResults(), (std::vector<std::string>{"inviata", "login rifiutato", "inviata"}));
    EXPECT_EQ(goMotoreStampa, nullptr) << "the engine is current only for the request";
}

TEST_F(StampaEmailTest, MissingDataCancelRefusedRetryOrNoServerSendNothingAndSayWhereThePdfIs) {
    PrivateSmtp server("plain");
    driver.answerMessage("Mancano dati necessari per l'invio dell'email", 1);
    print(server.port(), "");
    const int nobody = closedPort();
    // The reason in the user's words, the library's own only in the log.
    driver.answerMessage("server 127.0.0.1, porta " + std::to_string(nobody) +
                             "): connessione rifiutata dal server\r\nIl file pdf",
                         1);
    print(nobody, "giusta");
    answerLoginRequest(nullptr);
    driver.answerMessage("Invio email annullato", 1);
    print(server.port(), "sbagliata");
    // OK on the request stores the login of the active configuration: this print comes last.
    answerLoginRequest("ancora sbagliata");
    driver.answerMessage("): login o password non accettati", 1);
    print(server.port(), "sbagliata");
    EXPECT_EQ(server.count(), 0);
    const std::vector<std::string> kept = pdfs();
    ASSERT_EQ(kept.size(), 4u);
    std::vector<std::string> sayWhere;
    for (const std::string& message : driver.messageTexts()) {
        for (const std::string& pdf : kept) {
            if (message.find("Il file pdf della stampa è in " + pdf) != std::string::npos)
                sayWhere.push_back(pdf);
        }
    }
    std::sort(sayWhere.begin(), sayWhere.end());
    std::vector<std::string> sorted = kept;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sayWhere, sorted) << "each failure names its own PDF";
    EXPECT_EQ(logResults(), (std::vector<std::string>{"non inviata", "login rifiutato",
                                                      "login rifiutato", "login rifiutato"}));
    EXPECT_NE(
        ScratchFolder::read(folder.file("invio.log")).find("connessione rifiutata dal server ("),
        std::string::npos);
}

TEST_F(StampaEmailTest, SendmailChosenOnThePanelGoesToTheServerWithTheLoginTyped) {
    PrivateSmtp server("plain");
    addPrinter("PDFCreator", "pdfcreator:/");
    set("UsaPdfCreator", Variant("S"));
    set("StampeEmail", Variant("S"));
    set("PdfNomeFile", Variant(folder.file("pdf")));
    set("EmailTipoInvio", Variant("C"));
    set("EmailServerSMTP", Variant("smtp.altro.it"));
    set("EmailLogin", Variant(""));
    // The panel keeps the port as a 16-bit whole number; the loopback's may not fit in one typed.
    set("EmailNumPorta", Variant(static_cast<std::int16_t>(server.port())));
    FrmVedrixStampa& dialog = openDialog();
    driver.onForm("FrmSceltaStam", [](ui::Form& f) {
        auto& form = static_cast<FrmSceltaStam&>(f);
        click(*form.ChePdfAutom);
        click(*form.CheInviaEmail);
        click(*form.ComParIniPE);
        PdfEmailPanel& panel = pdfEmailPanel(form);
        click(panel.OptPETipoInvio(0));
        fill(form.txt(1011), "127.0.0.1");
        fill(form.txt(1014), "mario");
        fill(form.txt(1015), "giusta");
        click(*panel.ComPEOk);
        click(*form.ComChiudi);
    });
    click(dialog.comSceStam);
    click(dialog.OptOrientamento(1));
    click(dialog.OptTipsta(0));
    watchSending();
    click(dialog.CmdStampa);
    dialog.unload();

    ASSERT_EQ(server.count(), 1) << server.log();
    EXPECT_EQ(goMenuClient->Parametro("1EmailTipoInvio", "").text(), "S");
    EXPECT_EQ(server.received(1, "login"), "mario");
    EXPECT_EQ(server.received(1, "envelope"), "ufficio@ditta.it\nuno@cliente.it");
    EXPECT_EQ(server.received(1, "From"), "Centro <ufficio@ditta.it>");
    EXPECT_EQ(sending, "Invio dell'email in corso: server 127.0.0.1, porta " +
                           std::to_string(server.port()));
    auto& progress = ui::desktop().instance<frmStampaInCorso>();
    EXPECT_EQ(progress.LblPrePag.caption(), "In stampa la pagina:");
    EXPECT_FALSE(progress.visible());
    EXPECT_EQ(logResults(), std::vector<std::string>{"inviata"});
}

TEST_F(StampaEmailTest, InterrompiStopsTheSendingToASilentServerAndKeepsThePdf) {
    int port = 0;
    const int listener = loopbackListener(port);  // connects, never greets
    watchSending([] { click(ui::desktop().instance<frmStampaInCorso>().ComSTampa); });
    driver.answerMessage("Invio email interrotto: la stampa non è stata inviata\r\nIl file pdf", 1);
    print(port, "giusta");
    ::close(listener);
    EXPECT_EQ(sending,
              "Invio dell'email in corso: server 127.0.0.1, porta " + std::to_string(port));
    const std::vector<std::string> kept = pdfs();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NE(driver.messageTexts().back().find("Il file pdf della stampa è in " + kept[0]),
              std::string::npos);
    EXPECT_EQ(logResults(), std::vector<std::string>{"non inviata"});
    EXPECT_NE(ScratchFolder::read(folder.file("invio.log")).find("invio interrotto dall'utente"),
              std::string::npos);
    EXPECT_EQ(giStaAtt, 0);
}

}  // namespace
}  // namespace tolvane::testing
