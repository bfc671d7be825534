// Checking and composing a print's e-mail. Headers hold only what was checked: plain addresses,
// names without quotes or line breaks; whatever is not plain ASCII travels encoded.
#include "output/messaggio_email.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#include "platform/numbered_error.h"
#include "platform/text.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "InvioEmail";
// The longest attachment name kept, in bytes of the title.
constexpr std::size_t kMaxNameBytes = 100;

[[noreturn]] void refuse(const std::string& what) {
    throw NumberedError(kEmailNonInviata, "Email non inviata: " + what, kSource);
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool isPlainAddress(std::string_view a) {
    const auto at = a.find('@');
    if (at == std::string_view::npos || at == 0 || at + 1 >= a.size() ||
        a.find('@', at + 1) != std::string_view::npos) {
        return false;
    }
    for (unsigned char c : a) {
        if (c <= 32 || c >= 127) return false;
        if (std::string_view("\"<>()[],;:\\").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return a.front() != '-' && a.back() != '.' && a[at + 1] != '.';
}

bool isPlainAscii(std::string_view s) {
    for (unsigned char c : s) {
        if (c < 32 || c >= 127) return false;
    }
    return true;
}

// Length of the UTF-8 sequence that starts with c (1 for a stray byte).
std::size_t sequenceLength(unsigned char c) {
    if (c >= 0xF0 && c < 0xF8) return 4;
    if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
    if (c >= 0xC0) return 2;
    return 1;
}

std::string base64(std::string_view bytes, std::size_t lineLength) {
    static const char* const digits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t column = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned long n = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
        out += digits[(n >> 18) & 63];
        out += digits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[n & 63] : '=';
        column += 4;
        if (lineLength > 0 && column >= lineLength && i + 3 < bytes.size()) {
            out += "\r\n";
            column = 0;
        }
    }
    return out;
}

// Encoded words cut between characters, each after the first on a folded line of its own (or
// after a blank, inside a quoted parameter). A folded line holding them stays within 76
// characters, the first with the `used` characters of the header's name.
std::string encodedWords(std::string_view text, std::size_t used, const char* separator = "\r\n ") {
    constexpr std::size_t kLine = 76;
    constexpr std::size_t kFrame = 12;  // "=?UTF-8?B?" and "?="
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        // Three bytes of text to four characters of base64; a blank leads every later line.
        const std::size_t room = kLine - (out.empty() ? used : 1) - kFrame;
        const std::size_t most = room / 4 * 3;
        std::size_t end = start;
        while (end < text.size()) {
            std::size_t next =
                std::min(text.size(), end + sequenceLength(static_cast<unsigned char>(text[end])));
            if (next - start > most) break;
            end = next;
        }
        if (end == start) end = start + 1;
        if (!out.empty()) out += separator;
        out += "=?UTF-8?B?" + base64(text.substr(start, end - start), 0) + "?=";
        start = end;
    }
    return out;
}

// The value of a header whose name takes `used` characters of its first line.
std::string headerText(std::string_view text, std::size_t used) {
    if (isPlainAscii(text) && text.size() < 900 && text.find("=?") == std::string_view::npos) {
        return std::string(text);
    }
    return encodedWords(text, used);
}

// A mailbox for the header whose name takes `used` characters; an encoded name leaves the
// address to a line of its own.
std::string mailbox(const std::string& name, const std::string& address, std::size_t used) {
    if (name.empty()) return "<" + address + ">";
    if (isPlainAscii(name) && name.find('\\') == std::string::npos &&
        name.find("=?") == std::string::npos) {
        return "\"" + name + "\" <" + address + ">";
    }
    return encodedWords(name, used) + "\r\n <" + address + ">";
}

// Quoted-printable with CRLF line ends, lines of at most 76 characters.
std::string quotedPrintable(std::string_view text) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    std::string line;
    auto flush = [&](bool hard) {
        if (hard && !line.empty() && (line.back() == ' ' || line.back() == '\t')) {
            const unsigned char c = static_cast<unsigned char>(line.back());
            line.pop_back();
            line += '=';
            line += hex[c >> 4];
            line += hex[c & 15];
        }
        out += line;
        out += hard ? "\r\n" : "=\r\n";
        line.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            flush(true);
            continue;
        }
        std::string piece;
        if ((c >= 33 && c <= 126 && c != '=' && !(c == '.' && line.empty())) || c == ' ' ||
            c == '\t') {
            piece = static_cast<char>(c);
        } else {
            piece = {'=', hex[c >> 4], hex[c & 15]};
        }
        if (line.size() + piece.size() > 75) flush(false);
        line += piece;
    }
    if (!line.empty()) flush(true);
    return out;
}

std::string dateHeader() {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    long offset = local.tm_gmtoff / 60;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  days[local.tm_wday], local.tm_mday, months[local.tm_mon], local.tm_year + 1900,
                  local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+',
                  std::labs(offset) / 60, std::labs(offset) % 60);
    return buffer;
}

std::string uniqueToken() {
    static std::atomic<unsigned long> counter{0};
    static thread_local std::mt19937_64 random(std::random_device{}());
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%llx.%d.%lu.%llx",
                  static_cast<unsigned long long>(
                      std::chrono::system_clock::now().time_since_epoch().count()),
                  static_cast<int>(::getpid()), ++counter,
                  static_cast<unsigned long long>(random()));
    return buffer;
}

}  // namespace

std::vector<std::string> splitAddresses(std::string_view list) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(";,", start);
        if (end == std::string_view::npos) end = list.size();
        std::string address = mailboxAddress(list.substr(start, end - start));
        if (!address.empty()) out.push_back(address);
        start = end + 1;
    }
    return out;
}

std::string mailboxAddress(std::string_view value) {
    std::string text = Trim(value);
    const auto open = text.rfind('<');
    if (!text.empty() && text.back() == '>' && open != std::string::npos) {
        return Trim(std::string_view(text).substr(open + 1, text.size() - open - 2));
    }
    return text;
}

std::string attachmentNameFor(std::string_view title) {
    std::string name;
    for (unsigned char c : title) {
        if (c < 32 || c == 127 ||
            std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
            c = ' ';
        }
        if (c == ' ' && (name.empty() || name.back() == ' ')) continue;
        name += static_cast<char>(c);
    }
    if (name.size() > kMaxNameBytes) {
        std::size_t cut = 0;
        while (cut < name.size()) {
            std::size_t next = cut + sequenceLength(static_cast<unsigned char>(name[cut]));
            if (next > kMaxNameBytes) break;
            cut = next;
        }
        name.resize(cut);
    }
    name = Trim(name);
    while (!name.empty() && name.back() == '.') name.pop_back();
    return (name.empty() ? std::string("Stampa") : name) + ".pdf";
}

std::string subjectLine(std::string_view subject) {
    std::string out;
    for (std::size_t i = 0; i < subject.size(); ++i) {
        if (subject[i] == '\r' || subject[i] == '\n') {
            if (subject[i] == '\r' && i + 1 < subject.size() && subject[i + 1] == '\n') ++i;
            out += ' ';
        } else {
            out += subject[i];
        }
    }
    return out;
}

void checkMail(const PrintMail& mail, bool withSender) {
    auto address = [](const std::string& a, const char* role) {
        if (hasLineBreak(a) || a.find('"') != std::string::npos) {
            refuse(std::string(role) + " contiene un a capo o delle virgolette");
        }
        if (!isPlainAddress(a))
            refuse(std::string(role) + " non è un indirizzo email valido: " + a);
    };
    if (withSender || !mail.senderAddress.empty()) {
        if (mail.senderAddress.empty()) refuse("manca l'indirizzo email di chi invia");
        address(mail.senderAddress, "l'indirizzo di chi invia");
    }
    if (hasLineBreak(mail.senderName) || mail.senderName.find('"') != std::string::npos) {
        refuse("la descrizione di chi invia contiene un a capo o delle virgolette");
    }
    if (!mail.replyTo.empty()) address(mail.replyTo, "l'indirizzo di risposta");
    if (mail.recipients.empty()) refuse("manca l'indirizzo a cui inviare");
    for (const std::string& to : mail.recipients) address(to, "l'indirizzo del destinatario");
}

std::string composeMessage(const PrintMail& mail, const std::string& pdfBytes) {
    const std::string token = uniqueToken();
    const std::string boundary = "=_tolvane_" + token;
    const auto at = mail.senderAddress.find('@');
    const std::string domain =
        at == std::string::npos ? "localhost" : mail.senderAddress.substr(at + 1);
    std::string h;
    h += "Date: " + dateHeader() + "\r\n";
    if (!mail.senderAddress.empty())
        h += "From: " + mailbox(mail.senderName, mail.senderAddress, 6) + "\r\n";
    h += "To: ";
    for (std::size_t i = 0; i < mail.recipients.size(); ++i) {
        h += (i > 0 ? ",\r\n " : "") + mail.recipients[i];
    }
    h += "\r\n";
    if (!mail.replyTo.empty()) h += "Reply-To: " + mail.replyTo + "\r\n";
    if (mail.notification && !mail.senderAddress.empty()) {
        h += "Disposition-Notification-To: " + mail.senderAddress + "\r\n";
    }
    h += "Subject: " + headerText(subjectLine(mail.subject), 9) + "\r\n";
    h += "Message-ID: <" + token + "@" + domain + ">\r\n";
    h += "MIME-Version: 1.0\r\n";
    h += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";

    std::string body = "--" + boundary + "\r\n";
    body += "Content-Type: text/plain; charset=UTF-8\r\n";
    body += "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    body += quotedPrintable(mail.text);
    body += "--" + boundary + "\r\n";
    const std::string& name = mail.attachmentName;
    if (isPlainAscii(name) && name.find_first_of("\"\\") == std::string::npos) {
        body += "Content-Type: application/pdf; name=\"" + name + "\"\r\n";
        body += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n";
    } else {
        body +=
            "Content-Type: application/pdf;\r\n name=\"" + encodedWords(name, 7, " ") + "\"\r\n";
        body += "Content-Disposition: attachment;\r\n filename*=UTF-8''" +
                percentEncoded(name, "!#$&+-.^_`|~") + "\r\n";
    }
    body += "Content-Transfer-Encoding: base64\r\n\r\n";
    body += base64(pdfBytes, 76) + "\r\n";
    body += "--" + boundary + "--\r\n";
    return h + body;
}

}  // namespace tolvane
