// The transports on the real things: a loopback SMTP server in each TLS mode with a login that
// refuses a wrong password, and stand-ins for sendmail (named by TOLVANE_SENDMAIL) and for
// xdg-email (on PATH); every network wait is bounded to a few seconds.
#include "output/mail_transport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "suite/invio_email.h"
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
    SendOutcome sendBySmtp(const SmtpSettings& settings) {
        return SmtpTransport(settings).send(mail, composeMessage(mail, pdfBytes()));
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

TEST_F(TransportTest, FailuresComeBackWithTheirReason) {
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
    silent.timeoutSeconds = 1;
    SmtpSettings untrusted = smtp(secure, SmtpTls::Required);
    untrusted.caFile.clear();
    const std::vector<Case> cases = {
        {"wrong password", wrongLogin, SendOutcome::LoginRefused, "login o password"},
        {"nobody listening", nobody, SendOutcome::Failed, "connessione rifiutata"},
        {"recipient refused", open, SendOutcome::Failed, "rifiutato", "rifiutato@cliente.it"},
        {"no STARTTLS offered", smtp(plain, SmtpTls::Required), SendOutcome::Failed, "STARTTLS"},
        {"server never answers", silent, SendOutcome::Failed, "non ha risposto in tempo"},
        {"certificate not trusted", untrusted, SendOutcome::Failed, "connessione sicura (TLS)"},
    };
    for (const Case& c : cases) {
        mail.recipients = {c.recipient};
        SendOutcome outcome = sendBySmtp(c.settings);
        EXPECT_EQ(outcome.kind, c.kind) << c.name << ": " << outcome.reason;
        EXPECT_NE(outcome.reason.find(c.reason), std::string::npos)
            << c.name << ": " << outcome.reason;
        EXPECT_EQ(outcome.reason.find("giusta"), std::string::npos);
    }
    ::close(listener);
    EXPECT_EQ(plain.count() + secure.count(), 0);
}

TEST_F(TransportTest, SendmailReadsTheWholeMessageWithItsRecipientsFromTheHeaders) {
    const std::string message = composeMessage(mail, pdfBytes());
    ::setenv("TOLVANE_SENDMAIL", standIn("sendmail").c_str(), 1);
    EmailSettings settings;
    settings.EmailTipoInvio = "s";
    std::unique_ptr<MailTransport> configured = SystemMailTransports().create(settings);
    ::unsetenv("TOLVANE_SENDMAIL");
    SendOutcome outcome = configured->send(mail, message);
    ASSERT_EQ(outcome.kind, SendOutcome::Sent) << outcome.reason;
    EXPECT_EQ(ScratchFolder::read(folder.file("sendmail.args")), "-t\n-i\n");
    EXPECT_EQ(ScratchFolder::read(folder.file("sendmail.in")), message);

    outcome = SendmailTransport(standIn("sendmail", 75)).send(mail, message);
    EXPECT_EQ(outcome.kind, SendOutcome::Failed);
    EXPECT_NE(outcome.reason.find("75: risposta di prova"), std::string::npos) << outcome.reason;
    outcome = SendmailTransport(folder.file("manca/sendmail")).send(mail, message);
    EXPECT_NE(outcome.reason.find("TOLVANE_SENDMAIL"), std::string::npos) << outcome.reason;
}

TEST_F(TransportTest, DesktopClientGetsTheMailReadyWithItsAttachment) {
    standIn("xdg-email");
    const char* before = std::getenv("PATH");
    const std::string path = before != nullptr ? before : "";
    ::setenv("PATH", (folder.file("bin") + ":" + path).c_str(), 1);
    SendOutcome outcome = DesktopMailTransport().send(mail, {});
    ::setenv("PATH", "/nonexistent", 1);
    SendOutcome missing = DesktopMailTransport().send(mail, {});
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
    outcome = DesktopMailTransport(stays, std::chrono::milliseconds(200)).send(mail, {});
    EXPECT_EQ(outcome.kind, SendOutcome::Sent) << outcome.reason;
}

}  // namespace
}  // namespace tolvane::testing
