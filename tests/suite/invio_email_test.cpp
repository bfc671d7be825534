// A print's e-mail: the composed message read back by a MIME parser, and the refusal of values
// that would break a header, before any attempt (the flow is tested from the print dialog).
#include "suite/invio_email.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "suite/opz_stampa.h"
#include "support/error_number.h"
#include "support/private_smtp.h"
#include "support/scratch_folder.h"

namespace tolvane::testing {
namespace {

const std::string kPdf = pdfBytes();

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
        {"EmailOggetto", "Stampa\r\nBcc: x@y.it", "l'oggetto contiene un a capo"},
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

}  // namespace
}  // namespace tolvane::testing
