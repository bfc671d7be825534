// A print's e-mail to an SMTP server through libcurl: TLS as the settings ask, the login when
// one is set, every recipient in the envelope, every answer awaited at most the limit. libcurl
// runs in a thread of its own, since some of its waits block; the caller's thread keeps asking
// stop meanwhile, and cutting the connection ends any of those waits at once. The password goes
// to libcurl and nowhere else: of the commands sent only the verb (and a recipient's address) is
// looked at, so it cannot reach a message or a log.
#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "output/mail_transport.h"

namespace tolvane {

namespace {

// The longest the program waits for libcurl, or for the sending's thread, before looking again,
// in milliseconds.
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

// The sockets libcurl opened, so that the waiting side can cut them: a cut connection ends every
// wait of libcurl on it at once and leaves no way to say goodbye on it.
class Sockets {
  public:
    curl_socket_t open(const curl_sockaddr& address) {
        const curl_socket_t fd =
            ::socket(address.family, address.socktype | SOCK_CLOEXEC, address.protocol);
        if (fd == CURL_SOCKET_BAD) return fd;
        std::lock_guard lock(mutex_);
        open_.push_back(fd);
        if (cut_) ::shutdown(fd, SHUT_RDWR);
        return fd;
    }
    int close(curl_socket_t fd) {
        std::lock_guard lock(mutex_);
        std::erase(open_, fd);
        return ::close(fd);
    }
    void cut() {
        std::lock_guard lock(mutex_);
        cut_ = true;
        for (curl_socket_t fd : open_) ::shutdown(fd, SHUT_RDWR);
    }

  private:
    std::mutex mutex_;
    std::vector<curl_socket_t> open_;
    bool cut_ = false;
};

curl_socket_t onOpenSocket(void* user, curlsocktype, curl_sockaddr* address) {
    return static_cast<Sockets*>(user)->open(*address);
}

int onCloseSocket(void* user, curl_socket_t fd) { return static_cast<Sockets*>(user)->close(fd); }

// What the sending's thread went through: the last command sent, whether the server answered
// with something that is no SMTP answer, and how libcurl ended. Read by the caller once the
// thread has ended.
struct Watch {
    std::string lastCommand{};  // its verb, in capitals
    std::string lastRecipient{};
    std::atomic<bool> notMailServer{false};
    CURLcode code = CURLE_OK;
};

// An SMTP answer line starts with a three-digit code, then a blank, a hyphen or the line's end.
bool smtpAnswerLine(std::string_view line) {
    if (line.size() < 3) return false;
    for (char c : line.substr(0, 3)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return line.size() == 3 || std::string_view(" -\r\n").find(line[3]) != std::string_view::npos;
}

int onTrace(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
    auto* watch = static_cast<Watch*>(user);
    const std::string_view line(data, size);
    if (type == CURLINFO_HEADER_IN) {
        if (!smtpAnswerLine(line)) watch->notMailServer = true;
        return 0;
    }
    if (type != CURLINFO_HEADER_OUT) return 0;
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

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0;
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

// The sending's thread and what it shares with the caller's.
class Sending {
  public:
    Sending(CURL* curl, Sockets& sockets, Watch& watch)
        : curl_(curl), sockets_(sockets), watch_(watch) {
        curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, &given_up_);
        thread_ = std::thread([this] { run(); });
    }
    // Whatever ends the caller's wait, the thread is ended and joined before anything it uses
    // goes away.
    ~Sending() {
        giveUp();
        thread_.join();
    }
    Sending(const Sending&) = delete;
    Sending& operator=(const Sending&) = delete;

    // True once the thread has ended, waiting at most one step for it.
    bool ended() {
        std::unique_lock lock(mutex_);
        return ended_cv_.wait_for(lock, std::chrono::milliseconds(kStepMilliseconds),
                                  [this] { return ended_; });
    }
    void giveUp() {
        given_up_ = true;
        sockets_.cut();
    }

  private:
    // Driven here rather than by curl_easy_perform, so that a sending given up or a server that
    // is none ends within one step also where no wait of libcurl is cut short.
    void run() {
        std::unique_ptr<CURLM, MultiCleanup> multi(curl_multi_init());
        watch_.code = CURLE_FAILED_INIT;
        if (multi) {
            curl_multi_add_handle(multi.get(), curl_);
            watch_.code = CURLE_OK;
            for (int running = 1; running > 0 && !given_up_ && !watch_.notMailServer;) {
                if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
                    watch_.code = CURLE_FAILED_INIT;
                    break;
                }
                if (running > 0)
                    curl_multi_poll(multi.get(), nullptr, 0, kStepMilliseconds, nullptr);
            }
            int left = 0;
            while (CURLMsg* m = curl_multi_info_read(multi.get(), &left)) {
                if (m->msg == CURLMSG_DONE && m->easy_handle == curl_) watch_.code = m->data.result;
            }
            // After a failure the server gets no farewell: one that stopped answering would keep
            // the sending waiting for it.
            if (watch_.code != CURLE_OK || given_up_ || watch_.notMailServer) sockets_.cut();
            curl_multi_remove_handle(multi.get(), curl_);
            // The connection is closed here, after the farewell that follows a sent message.
            multi.reset();
        }
        std::lock_guard lock(mutex_);
        ended_ = true;
        ended_cv_.notify_all();
    }

    CURL* curl_;
    Sockets& sockets_;
    Watch& watch_;
    std::atomic<bool> given_up_{false};
    std::mutex mutex_;
    std::condition_variable ended_cv_;
    bool ended_ = false;
    std::thread thread_;
};

}  // namespace

std::string SmtpTransport::destination() const {
    return "server " + settings_.server + ", porta " + std::to_string(settings_.port);
}

SendOutcome SmtpTransport::send(const PrintMail& mail, const std::string& message,
                                const StopCheck& stop) {
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
    Sockets sockets;
    curl_easy_setopt(c, CURLOPT_OPENSOCKETFUNCTION, onOpenSocket);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETDATA, &sockets);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETFUNCTION, onCloseSocket);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETDATA, &sockets);
    Watch watch;
    // The trace goes to onTrace alone, which keeps the verbs of the commands and nothing else.
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, onTrace);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &watch);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);

    bool stopped = false;
    {
        Sending sending(c, sockets, watch);
        // Asked at once too, so that the user's events get through however short the sending;
        // a failing check gives the sending up on the way out.
        do {
            if (stopped || !stop) continue;
            stopped = stop();
            if (stopped) sending.giveUp();
        } while (!sending.ended());
    }

    if (stopped) return {SendOutcome::Stopped, "invio interrotto dall'utente"};
    if (watch.notMailServer) {
        return {SendOutcome::Failed,
                "il server " + settings_.server + " non risponde come un server di posta"};
    }
    if (watch.code == CURLE_OK) return {};
    SendOutcome outcome = outcomeOf(watch.code, c, watch, settings_.timeoutSeconds);
    outcome.detail = *detail != '\0' ? detail : curl_easy_strerror(watch.code);
    return outcome;
}

}  // namespace tolvane
