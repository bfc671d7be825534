// A print's e-mail to an SMTP server through libcurl: TLS as the settings ask, the login when
// one is set, every recipient in the envelope. The password goes to libcurl and nowhere else;
// no verbose trace is ever switched on, so it cannot reach a log either.
#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

#include "output/mail_transport.h"

namespace tolvane {

namespace {

struct Upload {
    const std::string& data;
    std::size_t offset = 0;
};

std::size_t readMessage(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const std::size_t n = std::min(size * count, upload->data.size() - upload->offset);
    std::memcpy(buffer, upload->data.data() + upload->offset, n);
    upload->offset += n;
    return n;
}

struct EasyCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// What went wrong, in the user's words, with libcurl's own detail behind.
std::string reasonOf(CURLcode code, const char* detail) {
    std::string reason;
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            reason = "server non trovato";
            break;
        case CURLE_COULDNT_CONNECT:
            reason = "connessione rifiutata o server non raggiungibile";
            break;
        case CURLE_OPERATION_TIMEDOUT:
            reason = "il server non ha risposto in tempo";
            break;
        case CURLE_LOGIN_DENIED:
            reason = "login o password non accettati dal server";
            break;
        case CURLE_USE_SSL_FAILED:
            reason = "il server non offre una connessione sicura (STARTTLS)";
            break;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
            reason = "connessione sicura (TLS) non riuscita";
            break;
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_WEIRD_SERVER_REPLY:
            reason = "il server ha rifiutato l'invio";
            break;
        default:
            reason = "invio non riuscito";
            break;
    }
    const std::string extra =
        detail != nullptr && *detail != '\0' ? detail : curl_easy_strerror(code);
    return reason + " (" + extra + ")";
}

}  // namespace

std::string SmtpTransport::destination() const {
    return "server " + settings_.server + ", porta " + std::to_string(settings_.port);
}

SendOutcome SmtpTransport::send(const PrintMail& mail, const std::string& message) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    std::unique_ptr<CURL, EasyCleanup> curl(curl_easy_init());
    if (!curl) return {SendOutcome::Failed, "libreria di invio non disponibile"};
    CURL* c = curl.get();

    const bool implicit = settings_.tls == SmtpTls::Implicit;
    const std::string url = std::string(implicit ? "smtps://" : "smtp://") + settings_.server +
                            ":" + std::to_string(settings_.port);
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    // Every wait is bounded, not the whole send: a large PDF on a slow line still goes.
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, settings_.timeoutSeconds);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, settings_.timeoutSeconds);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, settings_.timeoutSeconds);
    if (!implicit) {
        curl_easy_setopt(c, CURLOPT_USE_SSL,
                         settings_.tls == SmtpTls::Required ? static_cast<long>(CURLUSESSL_ALL)
                                                            : static_cast<long>(CURLUSESSL_TRY));
    }
    if (!settings_.caFile.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, settings_.caFile.c_str());
    if (!settings_.login.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, settings_.login.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, settings_.password.c_str());
    }
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, ("<" + mail.senderAddress + ">").c_str());
    curl_slist* raw = nullptr;
    for (const std::string& to : mail.recipients)
        raw = curl_slist_append(raw, ("<" + to + ">").c_str());
    std::unique_ptr<curl_slist, ListCleanup> recipients(raw);
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    Upload upload{message};
    curl_easy_setopt(c, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    char detail[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);

    const CURLcode code = curl_easy_perform(c);
    if (code == CURLE_OK) return {};
    return {code == CURLE_LOGIN_DENIED ? SendOutcome::LoginRefused : SendOutcome::Failed,
            reasonOf(code, detail)};
}

}  // namespace tolvane
