#include "platform/Internet.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>
#include <curl/curl.h>
#include <mutex>
#include <strings.h>

namespace quorvex::platform {
namespace {

// Longest single wait inside libcurl before the request looks at its abort check again.
inline constexpr int kPollSliceMs = 50;
// Body bytes held for the reader before libcurl is paused, so memory stays flat.
inline constexpr std::size_t kMaxBufferedBody = 1 << 20;
// Bytes libcurl receives at a time and hands over in one callback. Larger than its default
// (16 KiB), so a fast body costs few receive calls and wake-ups whatever block the reader
// takes out of it.
inline constexpr long kReceiveBufferSize = 256 << 10;
inline constexpr int kIPv4Octets = 4;
inline constexpr int kMaxWildcardOctets = 3; // "a.b.c.*"
inline constexpr int kBitsPerOctet = 8;
inline constexpr unsigned kMaxOctet = 255;

using Clock = std::chrono::steady_clock;

void InitializeLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// "10.*" or "192.168.1.*" as the network it names in CIDR form; empty for anything else.
std::string NetworkOf(const std::string& entry) {
    if (entry.size() < 3 || entry.compare(entry.size() - 2, 2, ".*") != 0)
        return {};
    const std::string prefix = entry.substr(0, entry.size() - 2);
    int octets = 0;
    std::size_t start = 0;
    while (start <= prefix.size()) {
        const auto dot = std::min(prefix.find('.', start), prefix.size());
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(prefix.data() + start, prefix.data() + dot, value);
        if (dot == start || error != std::errc() || end != prefix.data() + dot ||
            value > kMaxOctet || ++octets > kMaxWildcardOctets)
            return {};
        start = dot + 1;
    }
    std::string network = prefix;
    for (int i = octets; i < kIPv4Octets; ++i)
        network += ".0";
    return network + "/" + std::to_string(octets * kBitsPerOctet);
}

// One bypass entry in libcurl's terms. "*.example.com" becomes the domain (libcurl matches it
// and every name under it) and "192.168.*" its network; "<local>" (names without a dot) and
// other wildcards have no counterpart and are left out.
std::string NoProxyEntry(const std::string& entry) {
    if (entry == "<local>")
        return {};
    if (entry == "*" || entry.find('*') == std::string::npos)
        return entry;
    if (entry.rfind("*.", 0) == 0 && entry.find('*', 1) == std::string::npos)
        return entry.substr(1);
    return NetworkOf(entry);
}

// The bypass list of a named proxy (entries separated by ";", "," or blanks) in libcurl's form.
std::string NoProxyList(const std::string& bypass) {
    std::string list, entry;
    auto flush = [&] {
        if (const std::string mapped = NoProxyEntry(entry); !mapped.empty())
            list += (list.empty() ? "" : ",") + mapped;
        entry.clear();
    };
    for (const char c : bypass) {
        if (c == ';' || c == ',' || c == ' ' || c == '\t')
            flush();
        else
            entry += c;
    }
    flush();
    return list;
}

std::string HostForUrl(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

bool IsFollowedRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A relative Location resolved against the address being fetched.
std::string ResolveLocation(CURL* easy, const std::string& location) {
    char* current = nullptr;
    curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &current);
    CURLU* url = curl_url();
    std::string resolved = location;
    char* text = nullptr;
    if (url != nullptr && current != nullptr &&
        curl_url_set(url, CURLUPART_URL, current, 0) == CURLUE_OK &&
        curl_url_set(url, CURLUPART_URL, location.c_str(), 0) == CURLUE_OK &&
        curl_url_get(url, CURLUPART_URL, &text, 0) == CURLUE_OK) {
        resolved = text;
        curl_free(text);
    }
    curl_url_cleanup(url);
    return resolved;
}

std::optional<std::string> HeaderValue(const std::vector<std::string>& lines,
                                       std::string_view name) {
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const auto colon = line.find(':');
        if (colon == std::string::npos || colon != name.size())
            continue;
        if (strncasecmp(line.data(), name.data(), name.size()) == 0)
            return Trimmed(std::string_view(line).substr(colon + 1));
    }
    return std::nullopt;
}

} // namespace

// The libcurl side of one request: the handles, the reply as it arrives, the upload feed.
struct InternetRequest::Transfer {
    const InternetSession* session = nullptr;
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    curl_slist* headerList = nullptr;
    bool added = false;
    bool autoRedirect = true;
    std::function<bool()> abortRequested;
    RequestTimeouts timeouts;
    Clock::time_point lastActivity = Clock::now();

    // the reply
    std::vector<std::string> block; // status line and header lines of the reply being read
    std::vector<std::string> finalBlock;
    int blockStatus = 0;
    bool headersDone = false;
    bool done = false;
    CURLcode result = CURLE_OK;
    std::string body;
    std::size_t bodyRead = 0;
    bool writePaused = false;

    // the upload
    std::string upload;
    std::size_t uploadSent = 0;
    bool uploadEnded = false;
    bool readPaused = false;

    ~Transfer() {
        if (added)
            curl_multi_remove_handle(multi, easy);
        curl_slist_free_all(headerList);
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
    }

    void Report(int status, const std::string& information = {}) const {
        session->Report(status, information);
    }

    static size_t OnHeader(char* data, size_t size, size_t count, void* context) {
        auto& self = *static_cast<Transfer*>(context);
        const std::string line(data, size * count);
        self.lastActivity = Clock::now();
        if (line.rfind("HTTP/", 0) == 0) {
            if (self.blockStatus == 0) {
                self.Report(kStatusRequestSent);
                self.Report(kStatusReceivingResponse);
            }
            self.block = {line};
            const auto space = line.find(' ');
            self.blockStatus = space == std::string::npos ? 0 : std::atoi(line.c_str() + space + 1);
            return size * count;
        }
        self.block.push_back(line);
        if (line != "\r\n" && line != "\n")
            return size * count;
        if (self.blockStatus < 200)
            return size * count; // an interim reply; the real one follows
        const auto location = HeaderValue(self.block, "Location");
        if (self.autoRedirect && IsFollowedRedirect(self.blockStatus) && location) {
            self.Report(kStatusRedirect, ResolveLocation(self.easy, *location));
            return size * count;
        }
        self.finalBlock = self.block;
        self.headersDone = true;
        self.Report(kStatusResponseReceived);
        return size * count;
    }

    static size_t OnBody(char* data, size_t size, size_t count, void* context) {
        auto& self = *static_cast<Transfer*>(context);
        self.lastActivity = Clock::now();
        if (self.body.size() - self.bodyRead >= kMaxBufferedBody) {
            self.writePaused = true;
            return CURL_WRITEFUNC_PAUSE;
        }
        if (!self.headersDone) {
            self.finalBlock = self.block;
            self.headersDone = true;
        }
        self.body.append(data, size * count);
        return size * count;
    }

    static size_t OnUpload(char* buffer, size_t size, size_t count, void* context) {
        auto& self = *static_cast<Transfer*>(context);
        const std::size_t waiting = self.upload.size() - self.uploadSent;
        if (waiting == 0) {
            if (self.uploadEnded)
                return 0;
            self.readPaused = true;
            return CURL_READFUNC_PAUSE;
        }
        const std::size_t n = std::min(waiting, size * count);
        std::memcpy(buffer, self.upload.data() + self.uploadSent, n);
        self.uploadSent += n;
        self.lastActivity = Clock::now();
        return n;
    }

    static int OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        const auto& self = *static_cast<Transfer*>(context);
        return self.abortRequested && self.abortRequested() ? 1 : 0;
    }

    static int OnConnected(void* context, char* address, char*, int, int) {
        const auto& self = *static_cast<Transfer*>(context);
        self.Report(kStatusNameResolved, address);
        self.Report(kStatusConnectingToServer, address);
        self.Report(kStatusConnectedToServer, address);
        self.Report(kStatusSendingRequest);
        return CURL_PREREQFUNC_OK;
    }

    void Resume() {
        if (writePaused || readPaused) {
            writePaused = readPaused = false;
            curl_easy_pause(easy, CURLPAUSE_CONT);
        }
    }

    void Fail(CURLcode code) {
        done = true;
        result = code;
        if (added)
            curl_multi_remove_handle(multi, easy);
        added = false;
    }

    void CollectFinished() {
        int waiting = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &waiting)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            done = true;
            result = message->data.result;
            if (result == CURLE_OK)
                Report(kStatusRequestComplete);
        }
    }

    bool StalledLongerThan(std::uint32_t limitMs) const {
        return limitMs != 0 && Clock::now() - lastActivity > std::chrono::milliseconds(limitMs);
    }
};

InternetSession::InternetSession(SessionSettings settings, StatusCallback onStatus)
    : settings_(std::move(settings))
    , onStatus_(std::move(onStatus)) {
    InitializeLibrary();
    Report(kStatusHandleCreated);
}

void InternetSession::Report(int status, const std::string& information) const {
    if (onStatus_)
        onStatus_(status, information);
}

InternetRequest::InternetRequest(const InternetConnection& connection, std::string_view verb,
                                 std::string_view object, std::string_view referer,
                                 std::string_view accept, const RequestFlags& flags)
    : connection_(connection)
    , flags_(flags)
    , post_(verb == "POST")
    , transfer_(std::make_unique<Transfer>()) {
    url_ = connection.scheme + "://" + HostForUrl(connection.host) + ":" +
           std::to_string(connection.port) + std::string(object);
    Transfer& t = *transfer_;
    t.session = &connection.session;
    t.autoRedirect = flags.autoRedirect;
    t.easy = curl_easy_init();
    t.multi = curl_multi_init();
    CURL* easy = t.easy;
    const SessionSettings& session = connection.session.Settings();
    curl_easy_setopt(easy, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, session.userAgent.c_str());
    if (verb != "GET" && verb != "POST")
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, std::string(verb).c_str());
    if (!referer.empty())
        curl_easy_setopt(easy, CURLOPT_REFERER, std::string(referer).c_str());
    if (!accept.empty())
        headers_.emplace_back("Accept", std::string(accept));
    if (flags.pragmaNoCache)
        headers_.emplace_back("Pragma", "no-cache");
    headers_.emplace_back("Expect", ""); // no "100-continue" round trip before a body
    if (session.access == ProxyAccess::Direct)
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
    if (session.access == ProxyAccess::Named) {
        curl_easy_setopt(easy, CURLOPT_PROXY, session.proxy.c_str());
        curl_easy_setopt(easy, CURLOPT_NOPROXY, NoProxyList(session.bypass).c_str());
    }
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, flags.autoRedirect ? 1L : 0L);
    std::string redirectSchemes = connection.scheme;
    if (flags.allowRedirectToHttp)
        redirectSchemes += ",http";
    if (flags.allowRedirectToHttps)
        redirectSchemes += ",https";
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, redirectSchemes.c_str());
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, flags.keepConnection ? 0L : 1L);
    if (flags.cookies)
        curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
    if (flags.ignoreCertificateName)
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
    if (flags.ignoreUnknownAuthority)
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
    SetCredentials(connection.user, connection.password);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, &Transfer::OnUpload);
    curl_easy_setopt(easy, CURLOPT_READDATA, &t);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Transfer::OnProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Transfer::OnConnected);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &t);
    t.Report(kStatusHandleCreated);
}

InternetRequest::~InternetRequest() {
    transfer_->Report(kStatusHandleClosing);
}

void InternetRequest::SetCredentials(const std::string& user, const std::string& password) {
    if (!flags_.authentication || (user.empty() && password.empty()))
        return;
    curl_easy_setopt(transfer_->easy, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(transfer_->easy, CURLOPT_PASSWORD, password.c_str());
    curl_easy_setopt(transfer_->easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
}

void InternetRequest::SetProxyCredentials(const std::string& user, const std::string& password) {
    curl_easy_setopt(transfer_->easy, CURLOPT_PROXYUSERNAME, user.c_str());
    curl_easy_setopt(transfer_->easy, CURLOPT_PROXYPASSWORD, password.c_str());
    curl_easy_setopt(transfer_->easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
}

void InternetRequest::SetTimeouts(const RequestTimeouts& timeouts) {
    transfer_->timeouts = timeouts;
    if (timeouts.connectMs != 0)
        curl_easy_setopt(transfer_->easy, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(timeouts.connectMs));
}

void InternetRequest::SetIgnoreUnknownAuthority() {
    curl_easy_setopt(transfer_->easy, CURLOPT_SSL_VERIFYPEER, 0L);
}

void InternetRequest::SetAbortCheck(std::function<bool()> abortRequested) {
    transfer_->abortRequested = std::move(abortRequested);
}

bool InternetRequest::AddHeaders(std::string_view text, bool replace) {
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            return false;
        const std::string name = Trimmed(std::string_view(line).substr(0, colon));
        const std::string value = Trimmed(std::string_view(line).substr(colon + 1));
        if (replace)
            std::erase_if(headers_, [&](const auto& header) {
                return strcasecmp(header.first.c_str(), name.c_str()) == 0;
            });
        headers_.emplace_back(name, value);
    }
    return true;
}

void InternetRequest::ResetReply() {
    Transfer& t = *transfer_;
    if (t.added)
        curl_multi_remove_handle(t.multi, t.easy);
    t.added = false;
    t.block.clear();
    t.finalBlock.clear();
    t.blockStatus = 0;
    t.headersDone = false;
    t.done = false;
    t.result = CURLE_OK;
    t.body.clear();
    t.bodyRead = 0;
    t.writePaused = t.readPaused = false;
    t.upload.clear();
    t.uploadSent = 0;
    t.uploadEnded = false;
    status_ = 0;
}

bool InternetRequest::Start(std::string_view headers) {
    ResetReply();
    Transfer& t = *transfer_;
    // Offline mode would serve from a cache; there is no cache, so nothing can be fetched.
    if (connection_.session.Settings().offline)
        return false;
    curl_slist_free_all(t.headerList);
    t.headerList = nullptr;
    auto add = [&](const std::string& line) {
        t.headerList = curl_slist_append(t.headerList, line.c_str());
    };
    for (const auto& [name, value] : headers_)
        add(value.empty() ? name + ":" : name + ": " + value);
    std::size_t start = 0;
    while (start < headers.size()) {
        auto end = headers.find('\n', start);
        if (end == std::string_view::npos)
            end = headers.size();
        const std::string line = Trimmed(headers.substr(start, end - start));
        if (!line.empty())
            add(line);
        start = end + 1;
    }
    curl_easy_setopt(t.easy, CURLOPT_HTTPHEADER, t.headerList);
    t.Report(kStatusResolvingName, connection_.host);
    t.lastActivity = Clock::now();
    if (curl_multi_add_handle(t.multi, t.easy) != CURLM_OK)
        return false;
    t.added = true;
    return true;
}

bool InternetRequest::Pump(const std::function<bool()>& satisfied) {
    Transfer& t = *transfer_;
    while (true) {
        if (satisfied())
            return true;
        if (t.done)
            return false;
        if (t.abortRequested && t.abortRequested()) {
            t.Fail(CURLE_ABORTED_BY_CALLBACK);
            return false;
        }
        int running = 0;
        curl_multi_perform(t.multi, &running);
        t.CollectFinished();
        if (satisfied())
            return true;
        if (t.done)
            return false;
        const bool sending = !t.uploadEnded && t.upload.size() > t.uploadSent;
        if (t.StalledLongerThan(sending ? t.timeouts.sendMs : t.timeouts.receiveMs)) {
            t.Fail(CURLE_OPERATION_TIMEDOUT);
            return false;
        }
        curl_multi_poll(t.multi, nullptr, 0, kPollSliceMs, nullptr);
    }
}

bool InternetRequest::Send(std::string_view headers, std::string_view body) {
    Transfer& t = *transfer_;
    if (!post_) {
        curl_easy_setopt(t.easy, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(t.easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(t.easy, CURLOPT_COPYPOSTFIELDS, std::string(body).c_str());
    }
    if (!Start(headers))
        return false;
    Pump([&] { return t.headersDone; });
    if (t.headersDone)
        status_ = t.blockStatus;
    return t.headersDone;
}

bool InternetRequest::SendEx(std::string_view headers, std::uint64_t totalLength) {
    Transfer& t = *transfer_;
    curl_easy_setopt(t.easy, CURLOPT_POST, 1L);
    curl_easy_setopt(t.easy, CURLOPT_POSTFIELDS, nullptr);
    curl_easy_setopt(t.easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(totalLength));
    return Start(headers);
}

bool InternetRequest::Write(const char* data, std::size_t size, std::size_t& written) {
    Transfer& t = *transfer_;
    written = 0;
    t.upload.assign(data, size);
    t.uploadSent = 0;
    t.Resume();
    Pump([&] { return t.uploadSent == t.upload.size(); });
    written = t.uploadSent;
    return written > 0 || size == 0;
}

bool InternetRequest::EndRequest() {
    Transfer& t = *transfer_;
    t.uploadEnded = true;
    t.Resume();
    Pump([&] { return t.headersDone; });
    if (t.headersDone)
        status_ = t.blockStatus;
    return t.headersDone;
}

std::optional<std::string> InternetRequest::QueryHeader(std::string_view name) const {
    return HeaderValue(transfer_->finalBlock, name);
}

std::string InternetRequest::RawHeaders() const {
    std::string raw;
    for (const std::string& line : transfer_->finalBlock) {
        std::string_view text(line);
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.remove_suffix(1);
        if (!text.empty())
            raw.append(text).append("\r\n");
    }
    return raw.empty() ? raw : raw + "\r\n";
}

bool InternetRequest::Read(char* buffer, std::size_t size, std::size_t& count) {
    Transfer& t = *transfer_;
    count = 0;
    if (t.bodyRead == t.body.size()) {
        t.body.clear();
        t.bodyRead = 0;
        t.Resume();
    }
    const auto buffered = [&] { return t.body.size() > t.bodyRead; };
    Pump(buffered);
    if (buffered()) {
        count = std::min(size, t.body.size() - t.bodyRead);
        std::memcpy(buffer, t.body.data() + t.bodyRead, count);
        t.bodyRead += count;
        return true;
    }
    return t.done && t.result == CURLE_OK;
}

} // namespace quorvex::platform
