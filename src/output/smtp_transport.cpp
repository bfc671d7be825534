// A print's e-mail to an SMTP server through libcurl: TLS as the settings ask, the login when
// one is set, every recipient in the envelope, every wait bounded and the user's stop asked in
// between. The password goes to libcurl and nowhere else: of the commands sent only the verb
// (and a recipient's address) is looked at, so it cannot reach a message or a log.
#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>

#include "output/mail_transport.h"

namespace tolvane {

namespace {

// The longest the program waits for libcurl before asking stop again, in milliseconds.
constexpr int kStepMilliseconds = 100;

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

// What the transfer went through: the last command sent, whether the user stopped it, and a
// failure of the stop check, which must not cross libcurl.
struct Watch {
    const StopCheck& stop;
    bool stopped = false;
    std::exception_ptr failure{};
    std::string lastCommand{};  // its verb, in capitals
    std::string lastRecipient{};
};

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* watch = static_cast<Watch*>(user);
    if (watch->stopped || watch->failure) return 1;
    if (!watch->stop) return 0;
    try {
        watch->stopped = watch->stop();
    } catch (...) {
        watch->failure = std::current_exception();
    }
    return watch->stopped || watch->failure ? 1 : 0;
}

int onTrace(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
    if (type != CURLINFO_HEADER_OUT) return 0;
    auto* watch = static_cast<Watch*>(user);
    const std::string_view line(data, size);
    std::string verb;
    for (char c : line.substr(0, std::min<std::size_t>(line.size(), 4)))
        verb += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // The farewell on closing comes after the step that failed.
    if (verb == "QUIT") return 0;
    watch->lastCommand = verb;
    if (verb == "RCPT") {
        const auto open = line.find('<');
        const auto close = line.find('>', open == std::string_view::npos ? 0 : open);
        watch->lastRecipient = open != std::string_view::npos && close != std::string_view::npos
                                   ? std::string(line.substr(open + 1, close - open - 1))
                                   : std::string();
    }
    return 0;
}

struct EasyCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct MultiCleanup {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// A server's answer that refused a step of the sending, named by the step.
std::string refusal(const Watch& watch, long code) {
    const std::string answer = code > 0 ? " (" + std::to_string(code) + ")" : "";
    if (watch.lastCommand == "RCPT")
        return "destinatario rifiutato dal server: " + watch.lastRecipient + answer;
    if (watch.lastCommand == "MAIL") return "mittente rifiutato dal server" + answer;
    if (watch.lastCommand == "AUTH") return "login o password non accettati dal server" + answer;
    return "il server ha rifiutato il messaggio" + answer;
}

// What went wrong, in the user's words.
SendOutcome outcomeOf(CURLcode code, CURL* curl, const Watch& watch, long timeoutSeconds) {
    long osError = 0;
    curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &osError);
    long answer = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer);
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return {SendOutcome::Failed, "server non raggiungibile: nome del server sconosciuto"};
        case CURLE_COULDNT_CONNECT:
            if (osError == ECONNREFUSED)
                return {SendOutcome::Failed, "connessione rifiutata dal server"};
            return {SendOutcome::Failed, "server non raggiungibile"};
        case CURLE_OPERATION_TIMEDOUT:
            return {SendOutcome::Failed, "tempo scaduto: il server non ha risposto entro " +
                                             std::to_string(timeoutSeconds) + " secondi"};
        case CURLE_LOGIN_DENIED:
            return {SendOutcome::LoginRefused, "login o password non accettati dal server"};
        case CURLE_USE_SSL_FAILED:
            return {SendOutcome::Failed,
                    "connessione sicura rifiutata: il server non offre STARTTLS"};
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
            return {SendOutcome::Failed,
                    "connessione sicura rifiutata: il certificato del server non è valido"};
        case CURLE_SSL_CONNECT_ERROR:
            return {SendOutcome::Failed, "connessione sicura rifiutata dal server"};
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_WEIRD_SERVER_REPLY:
            // A refused command has its answer; a connection that broke has none.
            if (answer >= 400) return {SendOutcome::Failed, refusal(watch, answer)};
            return {SendOutcome::Failed, "il server ha chiuso la connessione"};
        default:
            return {SendOutcome::Failed, "invio non riuscito"};
    }
}

}  // namespace

std::string SmtpTransport::destination() const {
    return "server " + settings_.server + ", porta " + std::to_string(settings_.port);
}

SendOutcome SmtpTransport::send(const PrintMail& mail, const std::string& message,
                                const StopCheck& stop) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    std::unique_ptr<CURL, EasyCleanup> curl(curl_easy_init());
    std::unique_ptr<CURLM, MultiCleanup> multi(curl_multi_init());
    if (!curl || !multi) return {SendOutcome::Failed, "libreria di invio non disponibile"};
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
    Watch watch{stop};
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &watch);
    // The trace goes to onTrace alone, which keeps the verbs of the commands and nothing else.
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, onTrace);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &watch);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);

    // Driven here rather than by curl_easy_perform, which asks stop about once a second only.
    curl_multi_add_handle(multi.get(), c);
    CURLcode code = CURLE_OK;
    for (int running = 1; running > 0;) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        if (running > 0) curl_multi_poll(multi.get(), nullptr, 0, kStepMilliseconds, nullptr);
    }
    int left = 0;
    while (CURLMsg* m = curl_multi_info_read(multi.get(), &left)) {
        if (m->msg == CURLMSG_DONE && m->easy_handle == c) code = m->data.result;
    }
    curl_multi_remove_handle(multi.get(), c);
    if (watch.failure) std::rethrow_exception(watch.failure);

    if (code == CURLE_OK) return {};
    if (watch.stopped) return {SendOutcome::Stopped, "invio interrotto dall'utente"};
    SendOutcome outcome = outcomeOf(code, c, watch, settings_.timeoutSeconds);
    outcome.detail = *detail != '\0' ? detail : curl_easy_strerror(code);
    return outcome;
}

}  // namespace tolvane
