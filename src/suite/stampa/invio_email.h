// The sending of a print's e-mail by the engine: the values handed over into the print's options,
// the transport chosen by the send type, the login asked again once, one log line per attempt.
// Never loses the print: on any failure the PDF stays where it is and the message says where.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "output/mail_transport.h"
#include "platform/variant.h"

namespace tolvane {

class OpzStampa;

// The e-mail values of a print as the engine finds them in its options.
struct EmailSettings {
    std::string EmailTipoInvio;
    std::string EmailTo;
    std::string EmailOggetto;
    std::string EmailTesto;
    std::string EmailFileLog;
    std::string EmailInd;
    std::string EmailCentro;
    std::string EmailServerSMTP;
    std::string EmailReplay;
    bool EmailFlagNotifica = false;
    std::string EmailLogin;
    std::string EmailPwd;
    std::string EmailUsaSSL;
    std::string EmailNumPorta;

    static EmailSettings fromOptions(const OpzStampa& options);
    // EmailNumPorta as a port: 25 when empty or 0; a port above 32767 may arrive wrapped as a
    // 16-bit whole number. 0 for anything that is no port.
    int port() const;
};

// The transports the program sends through.
class MailTransports {
  public:
    virtual ~MailTransports() = default;
    virtual std::unique_ptr<MailTransport> create(const EmailSettings& settings) = 0;
};

// "S", "C" and "E" by SMTP to the configured server with the login, "O" into the desktop's
// mail client.
class SystemMailTransports final : public MailTransports {
  public:
    long timeoutSeconds = kSmtpTimeoutSeconds;
    std::string caFile;  // see SmtpSettings
    std::unique_ptr<MailTransport> create(const EmailSettings& settings) override;
};

// One in-memory transport shared by every send, and the settings each send was made with.
class MemoryMailTransports final : public MailTransports {
  public:
    std::unique_ptr<MailTransport> create(const EmailSettings& settings) override;
    MemoryMailTransport memory;
    std::vector<EmailSettings> created;
};

// The program-wide transports; until others are installed, the system's.
MailTransports& mailTransports();
std::shared_ptr<MailTransports> setMailTransports(std::shared_ptr<MailTransports> transports);

// What the sending asks of the print side.
class EmailPrintSide {
  public:
    virtual ~EmailPrintSide() = default;
    // Hands the print's e-mail settings over into the engine's options; raises on missing data.
    virtual void handOverEmailSettings() = 0;
    // Asks the login again: True when the user confirmed and the settings were handed over.
    virtual Variant ChiediEmailLogPwd() = 0;
};

// What the sending shows and asks of whoever shows the print's progress; either may be empty.
struct EmailSendingWatch {
    // Before each attempt: where the mail goes ("server smtp.ditta.it, porta 587").
    std::function<void(const std::string& destination)> sending;
    // While the mail is on its way: true stops it.
    StopCheck stop;
};

// Sends the print's PDF (pdfPath) named from its title. With a print side, the settings are
// handed over first and a refused login is asked again once; without one, the options are used
// as they are. Raises kEmailNonInviata (or the hand-over's error) when nothing was sent, also
// when the watch stopped it.
void InviaEmailStampa(OpzStampa& options, EmailPrintSide* side, const std::string& pdfPath,
                      const std::string& title, const EmailSendingWatch& watch = {});

}  // namespace tolvane
