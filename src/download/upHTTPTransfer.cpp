// The transfer that runs on the worker for every Fetch: URL, session, connection and request,
// headers and the range line, sending with the login and resume retries, the response headers,
// the output, the read loop with the resume check, and the success test.
#include "download/upHTTP.h"
#include "download/upText.h"
#include "platform/Clock.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quorvex {
namespace {

// A header value this long or longer counts as absent, as with a fixed query buffer.
inline constexpr std::size_t kMaxHeaderValue = 4096;
inline constexpr const char* kFormContentType = "Content-Type: application/x-www-form-urlencoded";

struct StatusText {
    int status;
    const char* text;
};

inline constexpr std::array<StatusText, 18> kStatusTexts = {{
    {10, "Resolving name"},
    {11, "Name resolved"},
    {20, "Connecting to server"},
    {21, "Connected"},
    {30, "Sending Request"},
    {31, "Request sent"},
    {40, "Receiving response"},
    {41, "Response received"},
    {42, "CTL Response received"},
    {43, "Prefetch"},
    {50, "Closing connection"},
    {51, "Connection closed"},
    {60, "Handle created"},
    {70, "Handle closing"},
    {100, "Request complete"},
    {110, "Redirect"},
    {120, "Intermediate response"},
    {200, "State change"},
}};

std::string TextOfStatus(int status) {
    for (const auto& entry : kStatusTexts)
        if (entry.status == status)
            return entry.text;
    return "Unknown status";
}

std::string RangeLine(std::uint32_t start, std::uint32_t end) {
    std::string line = "RANGE: bytes=" + std::to_string(start) + "-";
    if (end != 0)
        line += std::to_string(end);
    return line + "\r\n";
}

bool IsWholeOrPartial(int status) {
    return status == 200 || status == 206;
}

bool IsPlainArchive(const TupFileAttributes& attributes) {
    return attributes == TupFileAttributes{TupFileAttribute::atrArchive};
}

// Content-Length as a count of bytes; nullopt when it is no number this side can hold.
std::optional<std::uint64_t> LengthFigure(const std::string& text) {
    const auto value = text::ToInteger(text::Trim(text));
    if (!value || *value < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(*value);
}

} // namespace

bool TupCustomHTTP::OverBound(std::uint64_t bytes) const {
    return MaxBodySize != 0 && bytes > MaxBodySize;
}

void TupCustomHTTP::Checkpoint() {
    if (!thread_->Terminated())
        return;
    // Stopped at once from outside: whoever stopped it cleans up, this worker only unwinds.
    if (!thread_->Abandoned())
        CancelCleanup();
    thread_->Terminate(true);
}

void TupCustomHTTP::Transfer() {
    statusCode_ = -1;
    contentType_.clear();
    startTick_ = platform::GetTickCount();
    continue_ = true;
    success_ = false;
    bodyFailed_ = false;
    totalSize_ = 0;
    bytesRead_ = 0;
    outputIsFile_ = false;
    TURLComponents parts;
    const bool split = CrackURL(URL, parts);
    parts.ExtraInfo = PercentEncode(parts.ExtraInfo);
    const std::string user = parts.UserName.empty() ? HTTPUsername : parts.UserName;
    const std::string password = parts.Password.empty() ? HTTPPassword : parts.Password;
    Checkpoint();
    if (!split)
        return; // nothing to connect to: reported as an unreachable server
    const bool local = parts.Scheme == "file";
    if (!local)
        OpenSession();
    if (RunSteps(local, parts, user, password)) {
        success_ = IsWholeOrPartial(statusCode_) && !bodyFailed_;
        if (success_ && totalSize_ != 0 && stream_)
            success_ = totalSize_ == bytesRead_;
        // A body that runs to the end of the resource ends the file there too, so bytes of a
        // longer earlier file do not stay after it.
        if (success_ && outputIsFile_ && endPosition_ == 0)
            success_ = TruncateOutput();
    }
    Checkpoint(); // a stop that made a step fail is a cancel, not a failed transfer
    // Closed here, so that the status of the closing handle is told on the worker as all others.
    CloseHandles();
}

bool TupCustomHTTP::TruncateOutput() {
    try {
        static_cast<TupFileStream&>(*stream_).TruncateAtPosition();
        return true;
    } catch (const EStreamError&) {
        bodyFailed_ = true;
        return false;
    }
}

void TupCustomHTTP::OpenSession() {
    platform::SessionSettings settings;
    settings.userAgent = UserAgent;
    settings.access =
        Proxy.AccessType == TupHTTPAccessType::atDirect     ? platform::ProxyAccess::Direct
        : Proxy.AccessType == TupHTTPAccessType::atUseProxy ? platform::ProxyAccess::Named
                                                            : platform::ProxyAccess::Preconfigured;
    if (Proxy.AccessType == TupHTTPAccessType::atUseProxy) {
        settings.proxy = Proxy.ProxyServer + ":" + std::to_string(Proxy.ProxyPort);
        settings.bypass = Proxy.ProxyBypass;
    }
    settings.offline = WorkOffline;
    session_ = std::make_unique<platform::InternetSession>(
        settings,
        [this](int status, const std::string& information) { ReportStatus(status, information); });
}

bool TupCustomHTTP::RunSteps(bool local, const TURLComponents& parts, const std::string& user,
                             const std::string& password) {
    Next next = Next::Reconnect;
    while (next == Next::Reconnect) {
        if (local) {
            next = OpenLocalFile(parts);
        } else {
            next = OpenRequest(parts, user, password);
            if (next == Next::Proceed)
                next = SendRequest();
            if (next == Next::Proceed)
                next = ReadResponseHeaders();
        }
        if (next == Next::Proceed)
            next = ChooseOutput();
        if (next == Next::Proceed)
            next = ReadBody();
    }
    return next == Next::Proceed;
}

TupCustomHTTP::Next TupCustomHTTP::OpenLocalFile(const TURLComponents& parts) {
    localFile_.reset();
    auto file = platform::File::Open(parts.UrlPath, platform::File::Mode::ReadExisting);
    if (!file) {
        statusCode_ = 404;
        totalSize_ = 0;
        return Next::Proceed;
    }
    localFile_ = std::make_unique<platform::File>(std::move(*file));
    statusCode_ = 200;
    const std::int64_t size = localFile_->Size();
    const std::uint32_t start = resumeOffset_ != 0 ? resumeOffset_ : Range.StartRange;
    if (start != 0)
        localFile_->Seek(start);
    // Only what lies after the start is transferred, so that is the size the body is held to.
    totalSize_ = static_cast<std::uint64_t>(size > start ? size - start : 0);
    return Next::Proceed;
}

platform::RequestFlags TupCustomHTTP::Flags() const {
    // libcurl keeps no cache, so every request goes to the server: the cache options other
    // than "Pragma: no-cache" have no counterpart. Certificate dates are checked as part of
    // verifying the peer; there is no separate switch for ioIgnoreCertificateDateInvalid.
    // https is secure by its scheme.
    platform::RequestFlags flags;
    flags.autoRedirect = !InternetOptions.Contains(TupInternetOption::ioNoAutoRedirect);
    flags.keepConnection = InternetOptions.Contains(TupInternetOption::ioKeepConnection);
    flags.cookies = !InternetOptions.Contains(TupInternetOption::ioNoCookies);
    flags.authentication = !InternetOptions.Contains(TupInternetOption::ioNoAuthentication);
    flags.pragmaNoCache = RequestCacheOptions.Contains(TupCacheOption::coPragmaNoCache);
    flags.ignoreCertificateName =
        InternetOptions.Contains(TupInternetOption::ioIgnoreCertificateInvalid);
    flags.allowRedirectToHttp = InternetOptions.Contains(TupInternetOption::ioIgnoreRedirectToHTTP);
    flags.allowRedirectToHttps =
        InternetOptions.Contains(TupInternetOption::ioIgnoreRedirectToHTTPS);
    return flags;
}

TupCustomHTTP::Next TupCustomHTTP::OpenRequest(const TURLComponents& parts, const std::string& user,
                                               const std::string& password) {
    Checkpoint();
    connection_.reset(new platform::InternetConnection{*session_, parts.Scheme, parts.HostName,
                                                       parts.Port, user, password});
    Checkpoint();
    const bool post =
        RequestMethod == TupRequestMethod::Post ||
        (RequestMethod == TupRequestMethod::Automatic && (!PostData.empty() || uploadMode_));
    request_ = std::make_unique<platform::InternetRequest>(
        *connection_, post ? "POST" : "GET", EncodeURLPath(parts.UrlPath) + parts.ExtraInfo,
        Referer, AcceptTypes, Flags());
    request_->SetAbortCheck([this] { return thread_->Terminated(); });
    Checkpoint();
    if (Proxy.AccessType != TupHTTPAccessType::atDirect && !Proxy.ProxyUsername.empty() &&
        !Proxy.ProxyPassword.empty())
        request_->SetProxyCredentials(Proxy.ProxyUsername, Proxy.ProxyPassword);
    // Without a receive time-out of its own, a transfer still gives up on a server that has
    // stopped sending, so no check stays open for ever.
    request_->SetTimeouts(
        {Timeouts.ConnectTimeout,
         Timeouts.ReceiveTimeout != 0 ? Timeouts.ReceiveTimeout : DefaultReceiveTimeout,
         Timeouts.SendTimeout});
    if (InternetOptions.Contains(TupInternetOption::ioIgnoreUnknownCertificateAuthority))
        request_->SetIgnoreUnknownAuthority();
    // GoOnlineIfOffline: there is no "work offline" state chosen by the user to leave here.
    if (OnRequestReady)
        OnRequestReady(this, request_.get());
    std::string range;
    if (resumeOffset_ != 0 || endPosition_ != 0)
        range = RangeLine(resumeOffset_, endPosition_);
    else if (Range.StartRange != 0 || Range.EndRange != 0)
        range = RangeLine(Range.StartRange, Range.EndRange);
    rangeRequested_ = !range.empty();
    const std::string headers = HeaderText(range);
    if (!headers.empty() && !request_->AddHeaders(headers, false))
        return Next::End;
    return Next::Proceed;
}

std::string TupCustomHTTP::HeaderText(const std::string& rangeLine) const {
    std::string text;
    for (const std::string& line : RequestHeaders)
        text += line + "\r\n";
    return text + rangeLine;
}

TupCustomHTTP::Next TupCustomHTTP::SendRequest() {
    do {
        Checkpoint();
        retry_ = false;
        if (!(uploadMode_ ? SendUpload() : SendOnce())) {
            stream_.reset();
            return Next::End;
        }
        Checkpoint();
        statusCode_ = request_->StatusCode();
        if (statusCode_ == 416 && resumeOffset_ != 0)
            return CheckWholeSize();
        if (statusCode_ == 401 && OnAuthorizationRequest)
            AskForLogin();
        if (statusCode_ == 407 && OnProxyAuthenticationRequest)
            AskForProxyLogin();
    } while (retry_);
    return Next::Proceed;
}

bool TupCustomHTTP::SendOnce() {
    const bool post = RequestMethod == TupRequestMethod::Post ||
                      (RequestMethod == TupRequestMethod::Automatic && !PostData.empty());
    return post ? request_->Send(kFormContentType, PostData) : request_->Send("", "");
}

bool TupCustomHTTP::SendUpload() {
    auto* body = dynamic_cast<TMemoryStream*>(stream_.get());
    if (body == nullptr)
        return false;
    totalSize_ = static_cast<std::uint64_t>(body->Size());
    if (!request_->SendEx(uploadHeaders_, totalSize_))
        return false;
    body->Seek(0);
    std::uint64_t sent = 0;
    while (true) {
        Checkpoint();
        const std::size_t block = std::min<std::size_t>(transferBufferSize_, totalSize_ - sent);
        std::size_t written = 0;
        if (!request_->Write(body->Memory() + sent, block, written) || written == 0)
            break;
        sent += written;
        if (OnUploadProgress)
            thread_->Synchronize([&] {
                UpdateFigures(sent);
                OnUploadProgress(this, EventFigure(totalSize_), EventFigure(sent), elapsedTime_,
                                 timeLeft_, percentDone_, transferRate_);
            });
    }
    // libcurl never asks for the upload to be repeated, so there is no forced retry here.
    return request_->EndRequest();
}

TupCustomHTTP::Next TupCustomHTTP::CheckWholeSize() {
    if (!request_->AddHeaders(HeaderText(RangeLine(0, 0)), true))
        return Next::End;
    Checkpoint();
    if (!SendOnce())
        return Next::End;
    statusCode_ = request_->StatusCode();
    std::uint64_t size = 0;
    if (IsWholeOrPartial(statusCode_))
        size = LengthFigure(Header("Content-Length").value_or("")).value_or(0);
    Checkpoint();
    if (size == resumeOffset_) {
        success_ = true; // the output is already complete
        return Next::End;
    }
    statusCode_ = -1;
    resumeOffset_ = 0;
    CloseRequest();
    return Next::Reconnect;
}

void TupCustomHTTP::AskForLogin() {
    std::string realm = Header("WWW-Authenticate").value_or("");
    if (const auto quote = realm.find("=\""); quote != std::string::npos) {
        realm = realm.substr(quote + 2);
        if (!realm.empty())
            realm.pop_back();
    }
    thread_->Synchronize([&] { OnAuthorizationRequest(this, realm, retry_); });
    request_->SetCredentials(HTTPUsername, HTTPPassword);
}

void TupCustomHTTP::AskForProxyLogin() {
    thread_->Synchronize([&] {
        OnProxyAuthenticationRequest(this, Proxy.ProxyUsername, Proxy.ProxyPassword, retry_);
    });
    request_->SetProxyCredentials(Proxy.ProxyUsername, Proxy.ProxyPassword);
}

std::optional<std::string> TupCustomHTTP::Header(std::string_view name) const {
    auto value = request_->QueryHeader(name);
    if (value && value->size() >= kMaxHeaderValue)
        return std::nullopt;
    return value;
}

TupCustomHTTP::Next TupCustomHTTP::ReadResponseHeaders() {
    stream_.reset(); // the uploaded body, if there was one
    Checkpoint();
    if (auto type = Header("Content-Type"))
        contentType_ = *type;
    const auto length = Header("Content-Length");
    const auto figure = length ? LengthFigure(*length) : std::optional<std::uint64_t>(0);
    success_ = length.has_value();
    totalSize_ = figure.value_or(0);
    // A length that cannot be read, a part nobody asked for, or more than the component may
    // take can never end as a complete body: the transfer ends before it.
    if (IsWholeOrPartial(statusCode_) &&
        (!figure || (statusCode_ == 206 && !rangeRequested_) || OverBound(totalSize_))) {
        success_ = false;
        return Next::End;
    }
    if (!Header("Content-Range"))
        resumeOffset_ = 0; // the server sent the whole body
    if (!OnResponseHeaders)
        return Next::Proceed;
    const std::string raw = request_->RawHeaders();
    const std::string language = Header("Content-Language").value_or("");
    const std::string encoding = Header("Content-Encoding").value_or("");
    const std::string location = Header("Location").value_or("");
    const std::string etag = Header("ETag").value_or("");
    const auto date = [&](std::string_view name) {
        const auto text = Header(name);
        return text ? ParseHTTPDate(*text) : TDateTime(0);
    };
    const TDateTime sent = date("Date"), modified = date("Last-Modified"),
                    expires = date("Expires");
    thread_->Synchronize([&] {
        OnResponseHeaders(this, statusCode_, raw, contentType_, language, encoding,
                          EventFigure(totalSize_ + resumeOffset_), location, sent, modified,
                          expires, etag, continue_);
    });
    return continue_ ? Next::Proceed : Next::End;
}

TupCustomHTTP::Next TupCustomHTTP::ChooseOutput() {
    Checkpoint();
    if (!IsWholeOrPartial(statusCode_) || OutputFileName.empty()) {
        auto memory = std::make_unique<TMemoryStream>();
        if (success_)
            memory->Reserve(std::min<std::uint64_t>(totalSize_, kMaxPresizedMemoryOutput));
        stream_ = std::move(memory);
        return Next::Proceed;
    }
    try {
        auto file = std::make_unique<TupFileStream>(OutputFileName, resumeOffset_ == 0);
        // A file that ends before the resume point cannot be continued: seeking past its end
        // would leave a gap of zeros in what is then reported complete.
        if (resumeOffset_ != 0 &&
            (file->Size() < resumeOffset_ || file->Seek(resumeOffset_) != resumeOffset_))
            statusCode_ = -1;
        else if (!IsPlainArchive(OutputFileAttributes.Incomplete()))
            ApplyFileAttributes(OutputFileName, OutputFileAttributes.Incomplete());
        stream_ = std::move(file);
        outputIsFile_ = true;
    } catch (const EFCreateError&) {
        if (success_)
            return Next::End; // no data stream: reported as no output
        stream_ = std::make_unique<TMemoryStream>();
    }
    if (statusCode_ != -1)
        return Next::Proceed;
    resumeOffset_ = 0; // start over from the beginning rather than fail the same way again
    CloseRequest();
    return Next::Reconnect;
}

bool TupCustomHTTP::ReadBlock(std::size_t& count) {
    count = 0;
    if (localFile_) {
        const auto n = localFile_->Read(buffer_.data(), buffer_.size());
        count = n.value_or(0);
        return n.has_value();
    }
    return request_ && request_->Read(buffer_.data(), buffer_.size(), count);
}

TupCustomHTTP::Next TupCustomHTTP::ReadBody() {
    bytesRead_ = 0;
    buffer_.assign(transferBufferSize_, 0);
    Next next = Next::Proceed;
    try {
        next = CopyBody();
        stream_->Flush();
    } catch (const EStreamError&) {
        // The output could not take the body: the file is incomplete, and only what reached
        // it counts as read.
        bodyFailed_ = true;
        if (outputIsFile_) {
            const std::int64_t written =
                static_cast<TupFileStream&>(*stream_).WrittenPosition() - resumeOffset_;
            bytesRead_ = std::min<std::uint64_t>(bytesRead_, std::max<std::int64_t>(written, 0));
        }
    }
    buffer_.clear();
    buffer_.shrink_to_fit();
    return next;
}

TupCustomHTTP::Next TupCustomHTTP::CopyBody() {
    bool verifyFirst = resumeOffset_ != 0 && outputIsFile_;
    while (true) {
        Checkpoint();
        std::size_t count = 0;
        if (!ReadBlock(count)) {
            bodyFailed_ = true; // the transport's verdict: the body ended before its end
            return Next::Proceed;
        }
        if (count == 0)
            return Next::Proceed;
        if (OverBound(bytesRead_ + count)) {
            bodyFailed_ = true; // stopped at the bound, with what was written before it
            return Next::Proceed;
        }
        if (verifyFirst) {
            verifyFirst = false;
            if (VerifyFirstBlock(count) == Next::Reconnect)
                return Next::Reconnect;
            bytesRead_ += count;
            continue;
        }
        Checkpoint();
        stream_->Write(buffer_.data(), count);
        bytesRead_ += count; // counted once it is written
        if (OnDownloadProgress)
            thread_->Synchronize([&] {
                UpdateFigures(bytesRead_);
                OnDownloadProgress(this, contentType_, EventFigure(totalSize_ + resumeOffset_),
                                   EventFigure(bytesRead_ + resumeOffset_), elapsedTime_, timeLeft_,
                                   percentDone_, transferRate_, stream_.get());
            });
    }
}

TupCustomHTTP::Next TupCustomHTTP::VerifyFirstBlock(std::size_t count) {
    // Compares only the bytes both sides have; what the file lacks of the block is written.
    std::vector<char> held(count);
    const std::size_t have = stream_->Read(held.data(), count);
    if (std::memcmp(held.data(), buffer_.data(), have) != 0) {
        statusCode_ = -1;
        resumeOffset_ = 0;
        CloseRequest();
        return Next::Reconnect;
    }
    if (have < count)
        stream_->Write(buffer_.data() + have, count - have);
    return Next::Proceed;
}

void TupCustomHTTP::ReportStatus(int status, const std::string& information) {
    // Told on the worker only: a handle closed on the user-interface thread (by a cancel or the
    // destructor) belongs to a transfer that is over, and a dying component is not called back.
    if (IsDestroying() || !thread_->OnWorker())
        return;
    if (OnConnectionStatus)
        OnConnectionStatus(this, status, TextOfStatus(status));
    if (status == platform::kStatusRedirect && OnRedirection)
        OnRedirection(this, information);
}

} // namespace quorvex
