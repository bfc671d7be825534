// How a print's e-mail leaves the program: by SMTP (libcurl) or into the desktop's mail client;
// and an in-memory double for tests. Never shows a message and never writes the password
// anywhere: the outcome goes back to the caller.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "output/messaggio_email.h"

namespace tolvane {

struct SendOutcome {
    enum Kind { Sent, LoginRefused, Failed, Stopped };
    SendOutcome() = default;
    SendOutcome(Kind k, std::string why) : kind(k), reason(std::move(why)) {}
    Kind kind = Sent;
    std::string reason;  // Italian, for the user; "" when sent
    std::string detail;  // the mail library's own words, for the log only; may be ""
};

// Asked again and again while a mail is on its way, several times a second; true stops the
// sending. It may let the user's events through meanwhile.
using StopCheck = std::function<bool()>;

class MailTransport {
  public:
    virtual ~MailTransport() = default;
    // message: the whole composed message of mail. stop may be empty.
    virtual SendOutcome send(const PrintMail& mail, const std::string& message,
                             const StopCheck& stop) = 0;
    // Where the mail goes, as a message names it.
    virtual std::string destination() const = 0;
};

// How an SMTP connection is secured: STARTTLS when the server offers it, STARTTLS or nothing,
// or TLS from the first byte.
enum class SmtpTls { WhenOffered, Required, Implicit };
// With SSL: implicit TLS on port 465, STARTTLS required on any other; without: when offered.
SmtpTls smtpTlsFor(bool ssl, int port);

// The longest wait for the connection to an SMTP server (greeting, TLS and login included) or for
// any of its answers.
constexpr long kSmtpTimeoutSeconds = 20;

struct SmtpSettings {
    std::string server;
    int port = 25;
    SmtpTls tls = SmtpTls::WhenOffered;
    std::string login;  // "" no login
    std::string password;
    std::string caFile;  // certificates to trust instead of the system's; "" the system's
    long timeoutSeconds = kSmtpTimeoutSeconds;
};

// Sends with the connection in the program's hands: stop is asked between waits of a tenth of
// a second at most, and a true answer drops the connection at once.
class SmtpTransport final : public MailTransport {
  public:
    explicit SmtpTransport(SmtpSettings settings) : settings_(std::move(settings)) {}
    SendOutcome send(const PrintMail& mail, const std::string& message,
                     const StopCheck& stop) override;
    std::string destination() const override;

  private:
    SmtpSettings settings_;
};

// The desktop's mail client through xdg-email (found on PATH), with the mail ready for the user
// to review and send; the attachment is the file itself, so it must outlive the call.
class DesktopMailTransport final : public MailTransport {
  public:
    // How long the program waits for xdg-email to say whether the client took the mail.
    static constexpr std::chrono::milliseconds kPatience{5000};

    explicit DesktopMailTransport(std::string program = "xdg-email",
                                  std::chrono::milliseconds patience = kPatience)
        : program_(std::move(program)), patience_(patience) {}
    SendOutcome send(const PrintMail& mail, const std::string& message,
                     const StopCheck& stop) override;
    std::string destination() const override { return "il programma di posta del desktop"; }

  private:
    std::string program_;
    std::chrono::milliseconds patience_;
};

// Records every mail; answers with the outcomes queued, then "sent".
class MemoryMailTransport final : public MailTransport {
  public:
    struct Recorded {
        PrintMail mail;
        std::string message;
    };
    SendOutcome send(const PrintMail& mail, const std::string& message,
                     const StopCheck& stop) override;
    std::string destination() const override { return "memoria"; }
    void queue(SendOutcome outcome) { outcomes_.push_back(std::move(outcome)); }
    const std::vector<Recorded>& sent() const { return sent_; }
    int attempts() const { return attempts_; }

  private:
    std::deque<SendOutcome> outcomes_;
    std::vector<Recorded> sent_;
    int attempts_ = 0;
};

}  // namespace tolvane
