#include "platform/InternetTransfer.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace quorvex::platform {
namespace {

// Longest single wait inside libcurl before the request looks at its abort check again.
inline constexpr int kPollSliceMs = 50;
// Bytes libcurl receives at a time and hands over in one callback. Larger than its default
// (16 KiB), so a fast body costs few receive calls and wake-ups whatever block the reader
// takes out of it.
inline constexpr long kReceiveBufferSize = 256 << 10;

std::string HostForUrl(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

} // namespace

using internet::NoProxyList;
using internet::Trimmed;

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
