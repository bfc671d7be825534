// A list printed with "Invia per Email" from the list print dialog, as the user drives it, to a
// loopback SMTP server: the message with its PDF, the login asked again, a cancel, and a server
// that cannot be reached.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/db_comune.h"
#include "common/globali.h"
#include "printing/frm_scelta_stam.h"
#include "printing/frm_scelta_stam_pdf_email.h"
#include "printing/stampa_lista_fixture.h"
#include "suite/base_database.h"
#include "suite/invio_email.h"
#include "suite/menu_client.h"
#include "support/private_smtp.h"

namespace tolvane::testing {
namespace {

using ui::user::click;
using ui::user::fill;

class StampaEmailTest : public StampaListaTest {
protected:
    StampaEmailTest() {
        gsFileIni = folder.file("pelmor.ini");
        gsFileIniComune = folder.file("comune.ini");
        MenuClientSettings s;
        s.menuIni = folder.file("menu.ini");
        s.menuIniComune = folder.file("menu_comune.ini");
        s.keyFile = folder.file("menu.key");
        goMenuClient = std::make_unique<MenuClient>(s);
        registraPannelloPdfEmail();
        const std::string common = folder.file("comune.db");
        createDatabaseFromSchema(common, schemaPath("common.sql"));
        gsConnDbMenu = goDbase().ApriConnessione(common);
        goDbase().EseguiSql(gsConnDbMenu, "INSERT INTO Appoggio (Codice, Descr1, Memo1) VALUES "
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
    }
    ~StampaEmailTest() override {
        setMailTransports(previous_);
        goDbase().ChiudiConnessione(gsConnDbMenu);
        gsConnDbMenu.clear();
        FrmSceltaStam::extensions() = {};
        goMenuClient.reset();
    }

    void set(const std::string& name, const Variant& value) { goMenuClient->SetParametro(name, "", value); }

    // The list printed by e-mail, with the login the menu server holds.
    void print(int port, const char* password) {
        // The panel keeps the port as a 16-bit whole number, as it does any port.
        set("EmailNumPorta", Variant(static_cast<std::int16_t>(port)));
        set("EmailPwd", Variant(password));
        FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
        dialog.opzioni()->ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(true));
        dialog.opzioni()->ScriviParStampa("PdfNomeFile", OpzStampa::kTipoAltro, Variant(folder.file("pdf")));
        click(dialog.CmdStampa);
        dialog.unload();
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
        driver.onForm("FrmSceltaStam", [this, password](ui::Form& f) {
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

private:
    std::shared_ptr<MailTransports> previous_;
};

TEST_F(StampaEmailTest, ListReachesTheServerWithItsPdfAfterTheLoginAskedAgain) {
    PrivateSmtp server("plain");
    print(server.port(), "giusta");
    answerLoginRequest("giusta");
    print(server.port(), "sbagliata");
    ASSERT_EQ(server.count(), 2) << server.log();
    const std::vector<std::string> kept = pdfs();
    ASSERT_EQ(kept.size(), 2u);
    for (int n : {1, 2}) {
        EXPECT_EQ(server.received(n, "Subject"), "Stampa Elenco aziende");
        EXPECT_EQ(server.received(n, "text"), "In allegato Elenco aziende.");
        EXPECT_EQ(server.received(n, "From"), "Centro <ufficio@ditta.it>");
        EXPECT_EQ(server.received(n, "attachment.name"), "Elenco aziende.pdf");
        const std::string bytes = server.received(n, "attachment.bytes");
        EXPECT_TRUE(bytes == ScratchFolder::read(kept[0]) || bytes == ScratchFolder::read(kept[1]));
    }
    EXPECT_EQ(giStaAtt, 0);
}

TEST_F(StampaEmailTest, CancelOrAnUnreachableServerSendsNothingAndSaysWhereThePdfIs) {
    PrivateSmtp server("plain");
    answerLoginRequest(nullptr);
    driver.answerMessage("Invio email annullato", 1);
    print(server.port(), "sbagliata");
    const int nobody = closedPort();
    driver.answerMessage("server 127.0.0.1, porta " + std::to_string(nobody) +
                             "): connessione rifiutata",
                         1);
    print(nobody, "giusta");
    EXPECT_EQ(server.count(), 0);
    const std::vector<std::string> kept = pdfs();
    ASSERT_EQ(kept.size(), 2u);
    for (const std::string& message : driver.messageTexts()) {
        if (message.find("Email") == std::string::npos) continue;
        EXPECT_TRUE(message.find(kept[0]) != std::string::npos || message.find(kept[1]) != std::string::npos)
            << message;
    }
}

}  // namespace
}  // namespace tolvane::testing
