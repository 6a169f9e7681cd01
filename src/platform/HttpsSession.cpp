#include "platform/HttpsSession.h"

#include "platform/Environment.h"
#include "platform/HttpsFailureReason.h"

#include <curl/curl.h>
#include <mutex>

namespace quorvex::platform {
namespace {

// The longest single wait when the caller has no steps of its own; libcurl's own timers end
// it earlier when they are due.
constexpr Milliseconds kUnsteppedWait{1000};
constexpr long kMaxRedirects = 5;

void InitializeLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t AppendBody(char* data, size_t size, size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

// OpenSSL programs read these two variables themselves; libcurl does not, so they are set here.
void TrustStoreFromEnvironment(CURL* easy) {
    if (const std::string file = EnvironmentOr("SSL_CERT_FILE"); !file.empty())
        curl_easy_setopt(easy, CURLOPT_CAINFO, file.c_str());
    if (const std::string folder = EnvironmentOr("SSL_CERT_DIR"); !folder.empty())
        curl_easy_setopt(easy, CURLOPT_CAPATH, folder.c_str());
}

} // namespace

// The connections, resolved names and TLS sessions of the session live in the multi handle and
// the share, so they outlive each request's easy handle.
struct HttpsSession::Handles {
    Handles()
        : multi(curl_multi_init())
        , share(curl_share_init()) {
        if (multi == nullptr || share == nullptr)
            throw EHttpsFailure("libcurl 无法初始化");
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    }
    ~Handles() {
        curl_multi_cleanup(multi);
        curl_share_cleanup(share);
    }
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;

    // Marks every transfer libcurl reports finished; a request that waits inside another's
    // steps may be the one that reads the message.
    void CollectFinished();

    CURLM* multi;
    CURLSH* share;
};

struct HttpsSession::Transfer {
    Transfer()
        : easy(curl_easy_init()) {
        if (easy == nullptr)
            throw EHttpsFailure("libcurl 无法初始化");
    }
    ~Transfer() {
        curl_easy_cleanup(easy);
        curl_slist_free_all(headers);
    }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    void AddHeader(const std::string& line) { headers = curl_slist_append(headers, line.c_str()); }

    CURL* easy;
    curl_slist* headers = nullptr;
    std::string url;
    std::string postBody;
    std::string body;
    char error[CURL_ERROR_SIZE] = {};
    bool done = false;
    CURLcode result = CURLE_OK;
};

void HttpsSession::Handles::CollectFinished() {
    int waiting = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &waiting)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        Transfer* transfer = nullptr;
        curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
        transfer->done = true;
        transfer->result = message->data.result;
    }
}

HttpsSession::HttpsSession(Milliseconds limit)
    : limit_(limit) {
    InitializeLibrary();
    handles_ = std::make_unique<Handles>();
}

HttpsSession::~HttpsSession() = default;

void HttpsSession::SetProxy(std::string proxy) {
    proxy_ = std::move(proxy);
}

HttpsReply HttpsSession::Get(const std::string& url, const std::vector<std::string>& headers,
                             const StepWait& steps) {
    Transfer transfer;
    transfer.url = url;
    for (const std::string& header : headers)
        transfer.AddHeader(header);
    curl_easy_setopt(transfer.easy, CURLOPT_HTTPGET, 1L);
    return Perform(transfer, steps);
}

HttpsReply HttpsSession::Post(const std::string& url, std::string_view contentType,
                              std::string_view body, const std::vector<std::string>& headers,
                              const StepWait& steps) {
    Transfer transfer;
    transfer.url = url;
    transfer.postBody = body;
    transfer.AddHeader("Content-Type: " + std::string(contentType));
    transfer.AddHeader("Expect:"); // no extra round trip before the body
    for (const std::string& header : headers)
        transfer.AddHeader(header);
    curl_easy_setopt(transfer.easy, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(transfer.postBody.size()));
    curl_easy_setopt(transfer.easy, CURLOPT_POSTFIELDS, transfer.postBody.data());
    return Perform(transfer, steps);
}

HttpsReply HttpsSession::Perform(Transfer& transfer, const StepWait& steps) {
    CURL* easy = transfer.easy;
    curl_easy_setopt(easy, CURLOPT_URL, transfer.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PRIVATE, &transfer);
    curl_easy_setopt(easy, CURLOPT_SHARE, handles_->share);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "https,http");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    TrustStoreFromEnvironment(easy);
    // libcurl takes an empty proxy as "none at all", whatever the environment names.
    if (!proxy_.empty())
        curl_easy_setopt(easy, CURLOPT_PROXY, proxy_ == kNoProxy ? "" : proxy_.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(limit_.count()));
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "Quorvex");
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, transfer.headers);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer.body);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer.error);

    CURLM* multi = handles_->multi;
    if (curl_multi_add_handle(multi, easy) != CURLM_OK)
        throw EHttpsFailure("libcurl 无法开始请求");
    // Taken out however the wait ends; a transfer removed half-way closes its connection.
    const struct Removal {
        CURLM* multi;
        CURL* easy;
        ~Removal() { curl_multi_remove_handle(multi, easy); }
    } removal{multi, easy};

    const bool stepped = static_cast<bool>(steps.AfterStep) && steps.Step > Milliseconds::zero();
    const int wait = static_cast<int>((stepped ? steps.Step : kUnsteppedWait).count());
    while (true) {
        int running = 0;
        curl_multi_perform(multi, &running);
        handles_->CollectFinished();
        if (transfer.done)
            break;
        int ready = 0;
        curl_multi_poll(multi, nullptr, 0, wait, &ready);
        if (steps.AfterStep)
            steps.AfterStep(ready > 0);
    }
    if (transfer.result != CURLE_OK)
        throw EHttpsFailure(
            HttpsFailureReason(transfer.result, transfer.error, transfer.url, limit_));
    HttpsReply reply;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &reply.Status);
    reply.Body = std::move(transfer.body);
    return reply;
}

} // namespace quorvex::platform
