// A print's e-mail: the composed message read back by a MIME parser, and the refusal of values
// that would break a header, before any attempt (the flow is tested from the print dialog).
#include "suite/stampa/invio_email.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "suite/opzioni/opz_stampa.h"
#include "support/error_number.h"
#include "support/private_smtp.h"
#include "support/scratch_folder.h"

namespace tolvane::testing {
namespace {

const std::string kPdf = pdfBytes();

// Lines of the message's text part and header lines with encoded words that pass 76 characters.
std::vector<std::string> longLines(const std::string& message) {
    std::vector<std::string> out;
    bool inText = false;
    for (std::size_t start = 0, end; (end = message.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::string line = message.substr(start, end - start);
        if (line.rfind("--", 0) == 0) inText = false;
        if ((inText || line.find("=?UTF-8?") != std::string::npos) && line.size() > 76 &&
            line.rfind(" name=", 0) != 0) {
            out.push_back(line);
        }
        if (line == "Content-Transfer-Encoding: quoted-printable") inText = true;
    }
    return out;
}

TEST(MessaggioEmail, ComposedMessageReadsBackThroughAMimeParser) {
    struct Case {
        std::string subject;
        std::string name;
        std::string text;
        std::string title;
        std::string attachment;
        std::string from;
    };
    const std::string longLine = "Riga lunga con àèìòù € " + std::string(150, 'x') + " fine";
    const std::vector<Case> cases = {
        {"Stampa clienti", "Centro Elaborazione", "Riga uno\nRiga due", "Elenco aziende",
         "Elenco aziende.pdf", "Centro Elaborazione <ufficio@ditta.it>"},
        {"Fattura n° 12 – €uro àèìòù " + std::string(60, 'y') + " =?x?= ", "Società Ω",
         longLine + "\r\n.\nspazi in coda   \n=3D non è un codice\n\nultima",
         "Preventivo/2026: «bozza»", "Preventivo 2026 «bozza».pdf", "Società Ω <ufficio@ditta.it>"},
        {"", "", "", "  /  ", "Stampa.pdf", "ufficio@ditta.it"},
    };
    ScratchFolder folder;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        PrintMail mail;
        mail.senderAddress = "ufficio@ditta.it";
        mail.senderName = c.name;
        mail.recipients = splitAddresses("\"Rossi Mario\" <uno@cliente.it>; due@cliente.it,");
        mail.replyTo = i == 0 ? "risposte@ditta.it" : "";
        mail.notification = i == 0;
        mail.subject = c.subject;
        mail.text = c.text;
        mail.attachmentName = attachmentNameFor(c.title);
        checkMail(mail, true);
        const std::string out = folder.file("parsed" + std::to_string(i));
        ASSERT_TRUE(
            parseMessage(folder.write("m" + std::to_string(i), composeMessage(mail, kPdf)), out));
        auto part = [&](const char* name) { return ScratchFolder::read(out + "/" + name); };
        SCOPED_TRACE(c.title);
        EXPECT_EQ(part("defects"), "");
        EXPECT_EQ(part("ascii"), "yes");
        EXPECT_EQ(part("From"), c.from);
        EXPECT_EQ(part("To"), "uno@cliente.it, due@cliente.it");
        EXPECT_EQ(part("Subject"), c.subject);
        auto lines = [](std::string text) {
            text = Replace(text, "\r", "");
            while (!text.empty() && text.back() == '\n') text.pop_back();
            return text;
        };
        EXPECT_EQ(lines(part("text")), lines(c.text));
        EXPECT_EQ(part("charset"), "utf-8");
        EXPECT_EQ(part("attachment.name"), c.attachment);
        EXPECT_EQ(part("attachment.bytes"), kPdf);
        EXPECT_EQ(part("Reply-To"), i == 0 ? "risposte@ditta.it" : "");
        EXPECT_EQ(part("Disposition-Notification-To"), i == 0 ? "ufficio@ditta.it" : "");
        EXPECT_EQ(longLines(composeMessage(mail, kPdf)), std::vector<std::string>{});
    }
}

TEST(MessaggioEmail, PortsAndSecurityFollowTheSettings) {
    const std::pair<const char*, int> ports[] = {{"", 25},          {"0", 25},    {" 587 ", 587},
                                                 {"-25536", 40000}, {"65536", 0}, {"2x", 0}};
    for (const auto& [text, port] : ports) {
        EmailSettings s;
        s.EmailNumPorta = text;
        EXPECT_EQ(s.port(), port) << text;
    }
    EXPECT_EQ(smtpTlsFor(true, 465), SmtpTls::Implicit);
    EXPECT_EQ(smtpTlsFor(true, 587), SmtpTls::Required);
    EXPECT_EQ(smtpTlsFor(false, 465), SmtpTls::WhenOffered);
}

TEST(InvioEmail, ValuesThatWouldBreakAHeaderAreRefusedBeforeAnyAttempt) {
    ScratchFolder folder;
    const std::string pdf = folder.write("Elenco.pdf", kPdf);
    auto transports = std::make_shared<MemoryMailTransports>();
    ScopeGuard restore([previous = setMailTransports(transports)] { setMailTransports(previous); });
    struct Case {
        const char* name;
        std::string value;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"EmailCentro", "Centro\" <x@y.it>", "descrizione di chi invia"},
        {"EmailCentro", "Centro\r\nBcc: x@y.it", "descrizione di chi invia"},
        {"EmailInd", "ufficio@ditta.it\r\nBcc: x@y.it", "indirizzo di chi invia"},
        {"EmailTo", "uno@cliente.it, Mario Rossi", "non è un indirizzo email valido: Mario Rossi"},
        {"EmailTo", " ; ", "manca l'indirizzo a cui inviare"},
        {"EmailReplay", "r@ditta.it\nX: y", "indirizzo di risposta"},
        {"EmailTipoInvio", "", "\"Non usato\""},
        {"EmailNumPorta", "70000", "numero porta SMTP non valido: 70000"},
        {"EmailFileLog", folder.file("manca/invio.log"),
         "Email inviata, ma impossibile scrivere il file di log"},
    };
    for (const Case& c : cases) {
        OpzStampa options;
        for (const auto& [name, value] : std::vector<std::pair<const char*, std::string>>{
                 {"EmailTipoInvio", "C"},
                 {"EmailTo", "uno@cliente.it"},
                 {"EmailServerSMTP", "smtp.ditta.it"},
                 {"EmailInd", "\"Centro\" <ufficio@ditta.it>"},
                 {"EmailCentro", "Centro"},
                 {c.name, c.value}}) {
            options.ScriviParStampa(name, OpzStampa::kTipoAltro, Variant(value));
        }
        const NumberedError e =
            errorRaised([&] { InviaEmailStampa(options, nullptr, pdf, "Elenco"); });
        EXPECT_EQ(e.number(), kEmailNonInviata) << c.name;
        EXPECT_NE(e.description().find(c.reason), std::string::npos)
            << c.name << ": " << e.description();
        if (transports->memory.attempts() == 0) {
            EXPECT_NE(e.description().find("Il file pdf della stampa è in " + pdf),
                      std::string::npos);
        }
    }
    EXPECT_EQ(transports->memory.attempts(), 1) << "only the mail with the unwritable log went";
}

TEST(InvioEmail, SubjectLineBreaksBecomeBlanksAndNeverAddAHeaderOrARecipient) {
    PrivateSmtp server("plain");
    ScratchFolder folder;
    const std::string pdf = folder.write("Elenco.pdf", kPdf);
    auto transports = std::make_shared<SystemMailTransports>();
    transports->timeoutSeconds = 5;
    ScopeGuard restore([previous = setMailTransports(transports)] { setMailTransports(previous); });
    const std::pair<std::string, std::string> subjects[] = {
        {"Lista clienti\r\nBcc: spia@example.it", "Lista clienti Bcc: spia@example.it"},
        {"Lista clienti\rBcc: spia@example.it", "Lista clienti Bcc: spia@example.it"},
        {"Lista\nclienti\r\rTo: spia@example.it", "Lista clienti  To: spia@example.it"},
        {"Società Ω\r\n\r\nàèìòù € n° 12", "Società Ω  àèìòù € n° 12"},
        {"Perché\rCc: spia@example.it", "Perché Cc: spia@example.it"},
    };
    int n = 0;
    for (const auto& [subject, expected] : subjects) {
        OpzStampa options;
        for (const auto& [name, value] : std::vector<std::pair<const char*, std::string>>{
                 {"EmailTipoInvio", "S"},
                 {"EmailTo", "uno@cliente.it"},
                 {"EmailServerSMTP", "127.0.0.1"},
                 {"EmailNumPorta", std::to_string(server.port())},
                 {"EmailLogin", "mario"},
                 {"EmailPwd", "giusta"},
                 {"EmailInd", "ufficio@ditta.it"},
                 {"EmailOggetto", subject}}) {
            options.ScriviParStampa(name, OpzStampa::kTipoAltro, Variant(value));
        }
        InviaEmailStampa(options, nullptr, pdf, "Elenco");
        ASSERT_EQ(server.count(), ++n) << server.log();
        SCOPED_TRACE(expected);
        EXPECT_EQ(server.received(n, "Subject"), expected);
        EXPECT_EQ(server.received(n, "envelope"), "ufficio@ditta.it\nuno@cliente.it");
        EXPECT_EQ(server.received(n, "headers"),
                  "Date\nFrom\nTo\nSubject\nMessage-ID\nMIME-Version\nContent-Type");
        EXPECT_EQ(server.received(n, "ascii"), "yes");
        EXPECT_EQ(server.received(n, "defects"), "");
    }
}

}  // namespace
}  // namespace tolvane::testing
