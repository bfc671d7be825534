// The transports on the real things: a loopback SMTP server in each TLS mode with a login that
// refuses a wrong password, servers that answer slowly, fall silent after the message or greet
// with no SMTP, a listener that never answers, and a stand-in for xdg-email (on PATH); every
// network wait is bounded to a few seconds unless the test stops it first.
#include "output/mail_transport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/private_smtp.h"
#include "support/scratch_folder.h"

namespace tolvane::testing {
namespace {

class TransportTest : public ::testing::Test {
  protected:
    TransportTest() {
        mail.senderAddress = "ufficio@ditta.it";
        mail.senderName = "Centro Elaborazione";
        mail.recipients = {"uno@cliente.it", "due@cliente.it"};
        mail.subject = "Stampa clienti";
        mail.text = "In allegato la stampa.";
        mail.attachmentPath = folder.write("stampa.pdf", pdfBytes());
        mail.attachmentName = "Elenco clienti.pdf";
    }
    SmtpSettings smtp(const PrivateSmtp& server, SmtpTls tls) const {
        return {.server = "127.0.0.1",
                .port = server.port(),
                .tls = tls,
                .login = "mario",
                .password = "giusta",
                .caFile = server.certificate(),
                .timeoutSeconds = 5};
    }
    SendOutcome sendBySmtp(const SmtpSettings& settings, const StopCheck& stop = {}) {
        return SmtpTransport(settings).send(mail, composeMessage(mail, pdfBytes()), stop);
    }
    // A stand-in program that keeps its arguments and its input in the folder.
    std::string standIn(const std::string& name, int exitCode = 0) {
        const std::string path = folder.write(
            "bin/" + name, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + folder.file(name + ".args") +
                               "'\ncat > '" + folder.file(name + ".in") +
                               "'\necho 'risposta di prova' >&2\nexit " + std::to_string(exitCode) +
                               "\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }

    ScratchFolder folder;
    PrintMail mail;
};

TEST_F(TransportTest, MessageArrivesOverEachKindOfConnection) {
    struct Case {
        const char* server;
        SmtpTls tls;
        const char* encrypted;
    };
    for (const Case& c : std::vector<Case>{{"plain", SmtpTls::WhenOffered, "no"},
                                           {"starttls", SmtpTls::WhenOffered, "yes"},
                                           {"starttls", SmtpTls::Required, "yes"},
                                           {"implicit", SmtpTls::Implicit, "yes"}}) {
        SCOPED_TRACE(c.server);
        PrivateSmtp server(c.server);
        SendOutcome outcome = sendBySmtp(smtp(server, c.tls));
        ASSERT_EQ(outcome.kind, SendOutcome::Sent) << outcome.reason << server.log();
        ASSERT_EQ(server.count(), 1);
        EXPECT_EQ(server.received(1, "tls"), c.encrypted);
        EXPECT_EQ(server.received(1, "login"), "mario");
        EXPECT_EQ(server.received(1, "envelope"),
                  "ufficio@ditta.it\nuno@cliente.it\ndue@cliente.it");
        EXPECT_EQ(server.received(1, "Subject"), "Stampa clienti");
        EXPECT_EQ(server.received(1, "attachment.bytes"), pdfBytes());
    }
}

TEST_F(TransportTest, FailuresComeBackWithTheirReasonInItalianAndTheLibrarysWordsApart) {
    PrivateSmtp plain("plain");
    PrivateSmtp secure("starttls");
    struct Case {
        const char* name;
        SmtpSettings settings;
        SendOutcome::Kind kind;
        const char* reason;
        const char* recipient = "uno@cliente.it";
    };
    const SmtpSettings open = smtp(plain, SmtpTls::WhenOffered);
    SmtpSettings wrongLogin = open;
    wrongLogin.password = "sbagliata";
    SmtpSettings nobody = open;
    nobody.port = closedPort();
    SmtpSettings silent = open;
    const int listener = loopbackListener(silent.port);  // connects, never greets
    silent.timeoutSeconds = 2;
    SmtpSettings untrusted = smtp(secure, SmtpTls::Required);
    untrusted.caFile.clear();
    const std::vector<Case> cases = {
        {"wrong password", wrongLogin, SendOutcome::LoginRefused,
         "login o password non accettati dal server"},
        {"nobody listening", nobody, SendOutcome::Failed, "connessione rifiutata dal server"},
        {"recipient refused", open, SendOutcome::Failed,
         "destinatario rifiutato dal server: rifiutato@cliente.it (550)", "rifiutato@cliente.it"},
        {"no STARTTLS offered", smtp(plain, SmtpTls::Required), SendOutcome::Failed,
         "connessione sicura rifiutata: il server non offre STARTTLS"},
        {"server never answers", silent, SendOutcome::Failed,
         "tempo scaduto: il server non ha risposto entro 2 secondi"},
        {"certificate not trusted", untrusted, SendOutcome::Failed,
         "connessione sicura rifiutata: il certificato del server non è valido"},
    };
    for (const Case& c : cases) {
        mail.recipients = {c.recipient};
        SendOutcome outcome = sendBySmtp(c.settings);
        EXPECT_EQ(outcome.kind, c.kind) << c.name << ": " << outcome.reason;
        EXPECT_EQ(outcome.reason, c.reason) << c.name;
        EXPECT_NE(outcome.detail, "") << c.name;
        EXPECT_EQ(outcome.detail.find("giusta"), std::string::npos) << c.name;
    }
    ::close(listener);
    EXPECT_EQ(plain.count() + secure.count(), 0);
    EXPECT_EQ(SmtpSettings{}.timeoutSeconds, 20) << "the program gives a server 20 seconds";
}

TEST_F(TransportTest, StopIsAskedWhileTheServerIsSilentAndEndsTheSending) {
    SmtpSettings silent;
    silent.server = "127.0.0.1";
    silent.login = "mario";
    silent.password = "giusta";
    const int listener = loopbackListener(silent.port);  // connects, never greets
    // Without the stop the sending would wait the program's full 20 seconds and time out.
    struct Case {
        const char* name;
        int stopAt;  // the call of the check that asks the stop
        bool raises;
    };
    for (const Case& c : std::vector<Case>{{"stopped", 3, false}, {"check fails", 2, true}}) {
        int asked = 0;
        auto stop = [&] {
            if (++asked < c.stopAt) return false;
            if (c.raises) throw std::runtime_error("controllo non riuscito");
            return true;
        };
        if (c.raises) {
            EXPECT_THROW(sendBySmtp(silent, stop), std::runtime_error) << c.name;
        } else {
            SendOutcome outcome = sendBySmtp(silent, stop);
            EXPECT_EQ(outcome.kind, SendOutcome::Stopped) << c.name << ": " << outcome.reason;
            EXPECT_EQ(outcome.reason, "invio interrotto dall'utente");
        }
        EXPECT_EQ(asked, c.stopAt) << c.name << ": asked no more once it answered";
    }
    ::close(listener);
}

// Every answer is bounded, never the whole send: the slow server takes longer than the limit over
// the whole conversation but answers each command well within it. After a time-out, or a stop
// asked while the server holds back its answer to the message's end (with the program's own
// limit), the program says no farewell; a greeting that is no SMTP ends the sending at once with
// its own reason.
TEST_F(TransportTest, ServersThatMisbehaveAreToldApartAndNoFarewellFollowsAFailureOrAStop) {
    struct Case {
        const char* server;
        bool stopAfterData;
        SendOutcome::Kind kind;
        const char* reason;
        const char* commands;
    };
    const std::vector<Case> cases = {
        {"slow", false, SendOutcome::Sent, "", "EHLO\nMAIL\nRCPT\nRCPT\nDATA\n.\nQUIT\n"},
        {"silent-after-data", false, SendOutcome::Failed,
         "tempo scaduto: il server non ha risposto entro 2 secondi",
         "EHLO\nMAIL\nRCPT\nRCPT\nDATA\n.\n"},
        {"silent-after-data", true, SendOutcome::Stopped, "invio interrotto dall'utente",
         "EHLO\nMAIL\nRCPT\nRCPT\nDATA\n.\n"},
        {"garbage", false, SendOutcome::Failed,
         "il server 127.0.0.1 non risponde come un server di posta", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.server) + (c.stopAfterData ? ", stopped" : ""));
        PrivateSmtp server(c.server);
        SmtpSettings settings = smtp(server, SmtpTls::WhenOffered);
        settings.timeoutSeconds = c.stopAfterData ? kSmtpTimeoutSeconds : 2;
        StopCheck stop;
        if (c.stopAfterData)
            stop = [&] { return server.commands().find(".\n") != std::string::npos; };
        const SendOutcome outcome = sendBySmtp(settings, stop);
        EXPECT_EQ(outcome.kind, c.kind) << outcome.reason << server.log();
        EXPECT_EQ(outcome.reason, c.reason);
        EXPECT_EQ(server.count(), c.kind == SendOutcome::Sent ? 1 : 0);
        EXPECT_EQ(server.commands(), c.commands);
    }
}

TEST_F(TransportTest, DesktopClientGetsTheMailReadyWithItsAttachment) {
    standIn("xdg-email");
    const char* before = std::getenv("PATH");
    const std::string path = before != nullptr ? before : "";
    ::setenv("PATH", (folder.file("bin") + ":" + path).c_str(), 1);
    SendOutcome outcome = DesktopMailTransport().send(mail, {}, {});
    ::setenv("PATH", "/nonexistent", 1);
    SendOutcome missing = DesktopMailTransport().send(mail, {}, {});
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_EQ(outcome.kind, SendOutcome::Sent) << outcome.reason;
    EXPECT_EQ(ScratchFolder::read(folder.file("xdg-email.args")),
              "--utf8\n--subject\nStampa clienti\n--body\nIn allegato la stampa.\n--attach\n" +
                  mail.attachmentPath + "\nuno@cliente.it\ndue@cliente.it\n");
    EXPECT_EQ(missing.kind, SendOutcome::Failed);
    EXPECT_NE(missing.reason.find("nessun programma di posta"), std::string::npos)
        << missing.reason;

    // Fault: a client kept in xdg-email's foreground held the program until the user closed it.
    // This one fails only when the user closes it, long after the mail was handed over.
    const std::string stays = folder.write("client-aperto", "#!/bin/sh\nsleep 2\nexit 1\n");
    std::filesystem::permissions(stays, std::filesystem::perms::owner_all);
    outcome = DesktopMailTransport(stays, std::chrono::milliseconds(200)).send(mail, {}, {});
    EXPECT_EQ(outcome.kind, SendOutcome::Sent) << outcome.reason;
}

}  // namespace
}  // namespace tolvane::testing
