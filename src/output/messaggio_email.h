// The e-mail of a print as it leaves the program: sender, recipients, subject, text and the
// print's PDF, checked and composed into one MIME message in UTF-8. Never writes a value that
// would break a header: a line break or a quote where it does not belong is refused.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// Raised (with the reason) for an e-mail that was not sent.
constexpr int kEmailNonInviata = -124;

struct PrintMail {
    std::string senderAddress;
    std::string senderName;
    std::vector<std::string> recipients;
    std::string replyTo;        // an address; "" none
    bool notification = false;  // asks a read notification, sent to the sender
    std::string subject;
    std::string text;
    std::string attachmentPath;  // the print's PDF
    std::string attachmentName;
};

// Mailboxes separated by ";" or ",", each read by mailboxAddress.
std::vector<std::string> splitAddresses(std::string_view list);
// The address of "description" <address>, or the text itself when it has no angle brackets.
std::string mailboxAddress(std::string_view mailbox);
// The print's title made a file name: no path or quoting characters, "Stampa" when nothing is
// left, ".pdf" behind.
std::string attachmentNameFor(std::string_view title);

// The subject on one line: each line break (CR LF, CR or LF) a blank.
std::string subjectLine(std::string_view subject);

// Raises kEmailNonInviata naming the value when an address is not a plain address, a name
// holds a quote or a line break, or there is no recipient; the sender's address is required
// only when withSender says so.
void checkMail(const PrintMail& mail, bool withSender);

// The whole message with CRLF line ends: headers (non-ASCII text in encoded words, the subject
// on one line), the text in quoted-printable and the PDF (pdfBytes) in base64; the lines of the
// text and of encoded sender and subject are at most 76 characters. The mail must have passed
// checkMail.
std::string composeMessage(const PrintMail& mail, const std::string& pdfBytes);

}  // namespace tolvane
