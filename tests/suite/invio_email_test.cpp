// A print's e-mail: the composed message read back by a MIME parser, the refusal of values that
// would break a header, and the sending's flow (hand-over, login asked again once, cancel,
// failure, log) through the in-memory transport.
#include "suite/invio_email.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "platform/text.h"
#include "suite/opz_stampa.h"
#include "support/private_smtp.h"
#include "support/scratch_folder.h"

namespace tolvane::testing {
namespace {

const std::string kPdf = std::string("%PDF-1.4\n\0\xff\xfe\r\n=\x80", 17) + std::string(300, '\x9c');

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
         longLine + "\r\n.\nspazi in coda   \n=3D non è un codice\n\nultima", "Preventivo/2026: «bozza»",
         "Preventivo 2026 «bozza».pdf", "Società Ω <ufficio@ditta.it>"},
        {"", "", "", "  /  ", "Stampa.pdf", "ufficio@ditta.it"},
    };
    ScratchFolder folder;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        PrintMail mail;
        mail.senderAddress = "ufficio@ditta.it";
        mail.senderName = c.name;
        mail.recipients = {"uno@cliente.it", "due@cliente.it"};
        mail.replyTo = i == 0 ? "risposte@ditta.it" : "";
        mail.notification = i == 0;
        mail.subject = c.subject;
        mail.text = c.text;
        mail.attachmentName = attachmentNameFor(c.title);
        checkMail(mail, true);
        const std::string out = folder.file("parsed" + std::to_string(i));
        ASSERT_TRUE(parseMessage(folder.write("m" + std::to_string(i), composeMessage(mail, kPdf)), out));
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
    struct Case {
        const char* port;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{"", 25}, {"0", 25}, {" 587 ", 587}, {"65535", 65535},
                                           {"-25536", 40000}, {"65536", 0}, {"2x", 0}}) {
        EmailSettings s;
        s.EmailNumPorta = c.port;
        EXPECT_EQ(s.port(), c.expected) << c.port;
    }
    EXPECT_EQ(smtpTlsFor(true, 465), SmtpTls::Implicit);
    EXPECT_EQ(smtpTlsFor(true, 587), SmtpTls::Required);
    EXPECT_EQ(smtpTlsFor(false, 465), SmtpTls::WhenOffered);
}

// The print side as the print-in-progress window plays it: the hand-over writes the settings,
// the login request answers as told and hands the new password over.
class SideStub : public EmailPrintSide {
public:
    explicit SideStub(OpzStampa& options) : options_(options) {}
    void handOverEmailSettings() override {
        ++handOvers;
        if (!refusal.empty()) throw NumberedError(-123, refusal);
        for (const auto& [name, value] : settings) options_.ScriviParStampa(name, OpzStampa::kTipoAltro, Variant(value));
    }
    Variant ChiediEmailLogPwd() override {
        ++requests;
        if (confirm) options_.ScriviParStampa("EmailPwd", OpzStampa::kTipoAltro, Variant("giusta"));
        return Variant(confirm);
    }
    std::vector<std::pair<std::string, std::string>> settings = {
        {"EmailTipoInvio", "C"},       {"EmailTo", "uno@cliente.it; due@cliente.it"},
        {"EmailOggetto", "Stampa"},    {"EmailTesto", "Testo riservato"},
        {"EmailInd", "\"Centro\" <ufficio@ditta.it>"}, {"EmailCentro", "Centro"},
        {"EmailServerSMTP", "smtp.ditta.it"},          {"EmailLogin", "mario"},
        {"EmailPwd", "sbagliata"},     {"EmailNumPorta", "587"}};
    std::string refusal;
    bool confirm = true;
    int handOvers = 0;
    int requests = 0;

private:
    OpzStampa& options_;
};

class InvioEmailTest : public ::testing::Test {
protected:
    InvioEmailTest() : side(options) {
        previous_ = setMailTransports(transports);
        pdf = folder.write("stampe/Elenco_20261207.pdf", kPdf);
        side.settings.emplace_back("EmailFileLog", folder.file("invio.log"));
    }
    ~InvioEmailTest() override { setMailTransports(previous_); }

    // The description of the refusal; "" when sent.
    std::string send() {
        try {
            InviaEmailStampa(options, &side, pdf, "Elenco aziende");
        } catch (const NumberedError& e) {
            return e.description();
        }
        return {};
    }
    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        std::string text = ScratchFolder::read(folder.file("invio.log"));
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    ScratchFolder folder;
    OpzStampa options;
    SideStub side;
    std::shared_ptr<MemoryMailTransports> transports = std::make_shared<MemoryMailTransports>();
    std::string pdf;

private:
    std::shared_ptr<MailTransports> previous_;
};

TEST_F(InvioEmailTest, ValuesThatWouldBreakAHeaderAreRefusedBeforeAnyAttempt) {
    struct Case {
        const char* name;
        const char* value;
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
    };
    const auto base = side.settings;
    for (const Case& c : cases) {
        options = OpzStampa();
        side.settings = base;
        side.settings.emplace_back(c.name, c.value);
        const std::string refused = send();
        EXPECT_NE(refused.find(c.reason), std::string::npos) << c.name << ": " << refused;
        EXPECT_NE(refused.find("Il file pdf della stampa è in " + pdf), std::string::npos) << refused;
    }
    EXPECT_EQ(transports->memory.attempts(), 0);
    EXPECT_TRUE(logLines().empty());
}

TEST_F(InvioEmailTest, RefusedLoginIsAskedAgainOnceThenSentOrReported) {
    struct Case {
        std::vector<SendOutcome> outcomes;
        bool confirm;
        int attempts;
        int requests;
        const char* result;  // "" sent
    };
    const SendOutcome refusedLogin{SendOutcome::LoginRefused, "login o password non accettati"};
    const SendOutcome unreachable{SendOutcome::Failed, "connessione rifiutata"};
    const std::vector<Case> cases = {
        {{}, true, 1, 0, ""},
        {{refusedLogin}, true, 2, 1, ""},
        {{refusedLogin, refusedLogin}, true, 2, 1, "Email non inviata (memoria): login o password"},
        {{refusedLogin}, false, 1, 1, "Invio email annullato"},
        {{unreachable}, true, 1, 0, "Email non inviata (memoria): connessione rifiutata"},
    };
    for (const Case& c : cases) {
        transports = std::make_shared<MemoryMailTransports>();
        setMailTransports(transports);
        for (const SendOutcome& o : c.outcomes) transports->memory.queue(o);
        side.confirm = c.confirm;
        side.requests = 0;
        const std::string result = send();
        SCOPED_TRACE(c.result);
        EXPECT_EQ(transports->memory.attempts(), c.attempts);
        EXPECT_EQ(side.requests, c.requests);
        if (*c.result == '\0') {
            EXPECT_EQ(result, "");
            ASSERT_EQ(transports->memory.sent().size(), 1u);
            EXPECT_EQ(transports->created.back().EmailPwd, c.requests > 0 ? "giusta" : "sbagliata");
            EXPECT_EQ(transports->memory.sent()[0].mail.recipients,
                      (std::vector<std::string>{"uno@cliente.it", "due@cliente.it"}));
        } else {
            EXPECT_EQ(result.rfind(c.result, 0), 0u) << result;
            EXPECT_NE(result.find(pdf), std::string::npos) << result;
            EXPECT_TRUE(transports->memory.sent().empty());
        }
    }
    // One line an attempt: 1 + 2 + 2 + 1 + 1; never the password nor the text.
    const std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_NE(lines[0].find("\tuno@cliente.it;due@cliente.it\tStampa\t" + pdf + "\tinviata"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find("\tlogin rifiutato: login o password"), std::string::npos) << lines[1];
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("giusta"), std::string::npos);
        EXPECT_EQ(line.find("sbagliata"), std::string::npos);
        EXPECT_EQ(line.find("riservato"), std::string::npos);
    }
}

TEST_F(InvioEmailTest, RefusedHandOverSendsNothing) {
    side.refusal = "Mancano dati necessari per l'invio dell'email";
    EXPECT_EQ(send(), side.refusal);
    EXPECT_EQ(transports->memory.attempts(), 0);
    side.refusal.clear();
    ScratchFolder::read(folder.file("invio.log"));
    const std::string unwritable = folder.file("manca/invio.log");
    side.settings.emplace_back("EmailFileLog", unwritable);
    EXPECT_EQ(send(), "Email inviata, ma impossibile scrivere il file di log " + unwritable);
    EXPECT_EQ(side.handOvers, 2);
}

}  // namespace
}  // namespace tolvane::testing
