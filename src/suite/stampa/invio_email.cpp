// The engine's sending of a print's e-mail: one attempt, a second after the login was asked
// again, and a log line for each. The password reaches the transport only: it is in no message,
// no log line and no file.
#include "suite/stampa/invio_email.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>

#include "platform/numbered_error.h"
#include "platform/path_map.h"
#include "platform/text.h"
#include "suite/opzioni/opz_stampa.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "InvioEmail";

[[noreturn]] void refuse(const std::string& description) {
    throw NumberedError(kEmailNonInviata, description, kSource);
}

bool truthy(const Variant& value) {
    if (value.isEmpty() || value.isNull()) return false;
    try {
        return value.toBool();
    } catch (const NumberedError&) {
        return false;
    }
}

std::shared_ptr<MailTransports>& installed() {
    static std::shared_ptr<MailTransports> transports = std::make_shared<SystemMailTransports>();
    return transports;
}

// Sends through the shared in-memory transport.
class SharedMemoryTransport final : public MailTransport {
  public:
    explicit SharedMemoryTransport(MemoryMailTransport& memory) : memory_(memory) {}
    SendOutcome send(const PrintMail& mail, const std::string& message,
                     const StopCheck& stop) override {
        return memory_.send(mail, message, stop);
    }
    std::string destination() const override { return memory_.destination(); }

  private:
    MemoryMailTransport& memory_;
};

std::string sendType(const EmailSettings& settings) { return UCase(Trim(settings.EmailTipoInvio)); }

PrintMail mailOf(const EmailSettings& s, const std::string& pdfPath, const std::string& title) {
    PrintMail mail;
    mail.senderAddress = mailboxAddress(s.EmailInd);
    mail.senderName = Trim(s.EmailCentro);
    mail.recipients = splitAddresses(s.EmailTo);
    mail.replyTo = mailboxAddress(s.EmailReplay);
    mail.notification = s.EmailFlagNotifica;
    mail.subject = subjectLine(s.EmailOggetto);
    mail.text = s.EmailTesto;
    mail.attachmentPath = pdfPath;
    mail.attachmentName = attachmentNameFor(title);
    return mail;
}

std::string logField(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

// One line: time, recipients, subject, attachment, result. False when it could not be written.
bool writeLog(const EmailSettings& s, const PrintMail& mail, const SendOutcome& outcome) {
    if (Trim(s.EmailFileLog).empty()) return true;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char time[32];
    std::strftime(time, sizeof time, "%d/%m/%Y %H:%M:%S", &local);
    std::string recipients;
    for (const std::string& to : mail.recipients)
        recipients += (recipients.empty() ? "" : ";") + to;
    // The desktop's mail client only gets the mail ready: the user sends it from there.
    const std::string sent =
        sendType(s) == "O" ? "passata al programma di posta del desktop" : "inviata";
    const std::string why =
        outcome.reason + (outcome.detail.empty() ? "" : " (" + outcome.detail + ")");
    std::string result = outcome.kind == SendOutcome::Sent           ? sent
                         : outcome.kind == SendOutcome::LoginRefused ? "login rifiutato: " + why
                                                                     : "non inviata: " + why;
    std::ofstream log(mapWindowsPath(Trim(s.EmailFileLog)), std::ios::app | std::ios::binary);
    log << time << '\t' << logField(recipients) << '\t' << logField(mail.subject) << '\t'
        << logField(mail.attachmentPath) << '\t' << logField(result) << "\n";
    log.flush();
    return static_cast<bool>(log);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) refuse("Email non inviata: impossibile leggere il file pdf della stampa " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

EmailSettings EmailSettings::fromOptions(const OpzStampa& o) {
    auto text = [&o](const char* name) { return o.LeggiParStampa(name).text(); };
    EmailSettings s;
    s.EmailTipoInvio = text("EmailTipoInvio");
    s.EmailTo = text("EmailTo");
    s.EmailOggetto = text("EmailOggetto");
    s.EmailTesto = text("EmailTesto");
    s.EmailFileLog = text("EmailFileLog");
    s.EmailInd = text("EmailInd");
    s.EmailCentro = text("EmailCentro");
    s.EmailServerSMTP = text("EmailServerSMTP");
    s.EmailReplay = text("EmailReplay");
    s.EmailFlagNotifica = truthy(o.LeggiParStampa("EmailFlagNotifica"));
    s.EmailLogin = text("EmailLogin");
    s.EmailPwd = text("EmailPwd");
    s.EmailUsaSSL = text("EmailUsaSSL");
    s.EmailNumPorta = text("EmailNumPorta");
    return s;
}

int EmailSettings::port() const {
    const std::string text = Trim(EmailNumPorta);
    if (text.empty()) return 25;
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (end == nullptr || *end != '\0') return 0;
    if (n == 0) return 25;
    if (n >= -32768 && n < 0) return static_cast<int>(n + 65536);
    return n <= 65535 ? static_cast<int>(n) : 0;
}

std::unique_ptr<MailTransport> SystemMailTransports::create(const EmailSettings& s) {
    const std::string type = sendType(s);
    if (type == "S" || type == "C" || type == "E") {
        SmtpSettings smtp;
        smtp.server = Trim(s.EmailServerSMTP);
        smtp.port = s.port();
        smtp.tls = smtpTlsFor(equalText(Trim(s.EmailUsaSSL), "S"), smtp.port);
        smtp.login = Trim(s.EmailLogin);
        smtp.password = s.EmailPwd;
        smtp.caFile = caFile;
        smtp.timeoutSeconds = timeoutSeconds;
        return std::make_unique<SmtpTransport>(std::move(smtp));
    }
    if (type == "O") return std::make_unique<DesktopMailTransport>();
    return nullptr;
}

std::unique_ptr<MailTransport> MemoryMailTransports::create(const EmailSettings& settings) {
    created.push_back(settings);
    return std::make_unique<SharedMemoryTransport>(memory);
}

MailTransports& mailTransports() { return *installed(); }

std::shared_ptr<MailTransports> setMailTransports(std::shared_ptr<MailTransports> transports) {
    std::shared_ptr<MailTransports> previous = installed();
    installed() = std::move(transports);
    return previous;
}

void InviaEmailStampa(OpzStampa& options, EmailPrintSide* side, const std::string& pdfPath,
                      const std::string& title, const EmailSendingWatch& watch) {
    const std::string where = "\r\nIl file pdf della stampa è in " + pdfPath;
    if (side != nullptr) {
        try {
            side->handOverEmailSettings();
        } catch (const NumberedError& e) {
            throw NumberedError(e.number(), e.description() + where, e.source());
        }
    }
    for (int attempt = 1;; ++attempt) {
        const EmailSettings s = EmailSettings::fromOptions(options);
        const std::string type = sendType(s);
        if (type.empty()) {
            refuse(
                "Email non inviata: il tipo di invio della configurazione attiva è \"Non usato\"" +
                where);
        }
        if (type != "C" && type != "E" && type != "S" && type != "O") {
            refuse("Email non inviata: tipo di invio sconosciuto \"" + s.EmailTipoInvio + "\"" +
                   where);
        }
        const bool smtp = type != "O";
        if (smtp && Trim(s.EmailServerSMTP).empty())
            refuse("Email non inviata: manca il server SMTP" + where);
        if (smtp && s.port() == 0) {
            refuse("Email non inviata: numero porta SMTP non valido: " + s.EmailNumPorta + where);
        }
        const PrintMail mail = mailOf(s, pdfPath, title);
        try {
            checkMail(mail, smtp);
        } catch (const NumberedError& e) {
            refuse(e.description() + where);
        }
        const std::string message = composeMessage(mail, readFile(pdfPath));
        std::unique_ptr<MailTransport> transport = mailTransports().create(s);
        if (!transport)
            refuse("Email non inviata: nessun modo di invio per il tipo " + type + where);
        if (watch.sending) watch.sending(transport->destination());
        const SendOutcome outcome = transport->send(mail, message, watch.stop);
        const bool logged = writeLog(s, mail, outcome);
        const std::string logNote =
            logged ? "" : "\r\nImpossibile scrivere il file di log " + Trim(s.EmailFileLog);
        if (outcome.kind == SendOutcome::Sent) {
            if (!logged)
                refuse("Email inviata, ma impossibile scrivere il file di log " +
                       Trim(s.EmailFileLog));
            return;
        }
        if (outcome.kind == SendOutcome::LoginRefused && side != nullptr && attempt == 1) {
            if (!truthy(side->ChiediEmailLogPwd())) {
                refuse("Invio email annullato: la stampa non è stata inviata" + where + logNote);
            }
            continue;
        }
        if (outcome.kind == SendOutcome::Stopped) {
            refuse("Invio email interrotto: la stampa non è stata inviata" + where + logNote);
        }
        refuse("Email non inviata (" + transport->destination() + "): " + outcome.reason + where +
               logNote);
    }
}

}  // namespace tolvane
