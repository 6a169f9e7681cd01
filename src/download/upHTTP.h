#pragma once

#include "download/upHTTPSettings.h"
#include "download/upLogin.h"
#include "download/upStreams.h"
#include "download/upThread.h"
#include "download/upUtils.h"
#include "http/PercentEncoding.h"
#include "http/UrlComponents.h"
#include "platform/File.h"
#include "platform/Internet.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// The host name of URL; empty when it cannot be split.
std::string HostFromURL(std::string_view URL);

// The last piece of URL's path; empty when it cannot be split.
std::string FileNameFromURL(std::string_view URL);

// Event types of the transfer component; Sender is the component. Figures are 32-bit.
using THTTPRequestReadyEvent =
    std::function<void(TComponent* Sender, platform::InternetRequest* RequestHandle)>;
using THTTPResponseHeadersEvent =
    std::function<void(TComponent* Sender, int StatusCode, const std::string& RawHeaders,
                       const std::string& ContentType, const std::string& ContentLanguage,
                       const std::string& ContentEncoding, std::uint32_t ContentLength,
                       const std::string& Location, TDateTime Date, TDateTime LastModified,
                       TDateTime Expires, const std::string& ETag, bool& Continue)>;
using THTTPTransferCompleteEvent = std::function<void(
    TComponent* Sender, const std::string& ContentType, std::uint32_t Size, TStream* Stream)>;
using THTTPDownloadProgressEvent =
    std::function<void(TComponent* Sender, const std::string& ContentType, std::uint32_t TotalSize,
                       std::uint32_t BytesRead, std::uint32_t ElapsedTime, std::int32_t TimeLeft,
                       std::uint8_t PercentDone, float TransferRate, TStream* Stream)>;
using THTTPConnectionStatusEvent =
    std::function<void(TComponent* Sender, int StatusCode, const std::string& StatusText)>;
using THTTPRedirectionEvent = std::function<void(TComponent* Sender, const std::string& NewURL)>;
using THTTPUploadProgressEvent = std::function<void(
    TComponent* Sender, std::uint32_t TotalSize, std::uint32_t BytesSent, std::uint32_t ElapsedTime,
    std::int32_t TimeLeft, std::uint8_t PercentDone, float TransferRate)>;
using THTTPTransferBrokenEvent =
    std::function<void(TComponent* Sender, const std::string& ContentType, std::uint32_t TotalSize,
                       std::uint32_t BytesRead, TStream* Stream)>;
using THTTPStatusErrorEvent =
    std::function<void(TComponent* Sender, int StatusCode, TStream* Stream)>;
using TupHTTPPasswordRequestEvent =
    std::function<void(TComponent* Sender, const std::string& Realm, bool& TryAgain)>;
using TupHTTPProxyAuthenticationEvent = std::function<void(
    TComponent* Sender, std::string& ProxyUsername, std::string& ProxyPassword, bool& TryAgain)>;

inline constexpr std::uint32_t kMinTransferBufferSize = 255;
inline constexpr std::uint32_t kMaxTransferBufferSize = 2147483647;
inline constexpr std::uint32_t kDefaultTransferBufferSize = 4096;
// The receive time-out of a transfer whose Timeouts name none, in milliseconds.
inline constexpr std::uint32_t kDefaultReceiveTimeout = 60000;
// A memory output is given room for the announced Content-Length only up to this size; a
// larger body grows the stream as it arrives, so a wrong length cannot claim the memory.
inline constexpr std::uint32_t kMaxPresizedMemoryOutput = 16u << 20;

// An event's 32-bit figure for a count kept in 64 bits; a count beyond 32 bits reads as the
// largest figure rather than wrapping to a small one.
inline std::uint32_t EventFigure(std::uint64_t Count) {
    return Count > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(Count);
}

enum class TupRequestMethod { Automatic, Get, Post };

// How a finished transfer ended, with the figures its event reports; worked out once from the
// transfer's state and then told through the matching event.
struct TupTransferOutcome {
    enum class Kind {
        Raised,      // the transfer raised; reported as failed already
        Skipped,     // a handler cleared Continue
        NoOutput,    // ended well without a data stream
        Complete,    // the body arrived whole
        Broken,      // 200 or 206 but the body is incomplete
        Unreachable, // no HTTP status was obtained
        StatusError, // any other status
    };
    Kind kind = Kind::Raised;
    int StatusCode = -1;
    std::uint32_t Size = 0;      // Complete: bytes read plus the resume offset
    std::uint32_t TotalSize = 0; // Broken: the announced length
    std::uint32_t BytesRead = 0; // Broken: what arrived
    bool DeleteOutput = false;   // StatusError into a file: the file holds an error page
};

// Fetches one URL at a time (http, https or file) on a worker thread into a file or a memory
// stream, and tells the outcome through events on the user-interface thread.
class TupCustomHTTP : public TupLoginComponent {
public:
    explicit TupCustomHTTP(TComponent* Owner = nullptr);
    ~TupCustomHTTP() override;

    bool Fetch(bool Wait);
    bool FetchRange(std::uint32_t StartPos, std::uint32_t EndPos, bool Wait);
    // Sends Body as a POST in upload mode (Content-Type ContentType), in blocks.
    bool Upload(std::unique_ptr<TMemoryStream> Body, const std::string& ContentType, bool Wait);
    void Cancel(bool DeleteOutput, bool Immediately);
    bool IsBusy() const;
    void ReleaseOutput();
    std::string URLHostName() const;
    std::string URLFileName() const;
    TThreadPriority ThreadPriority() const;
    void SetThreadPriority(TThreadPriority Value);
    void SetTransferBufferSize(std::uint32_t Value);
    std::uint32_t TransferBufferSize() const { return transferBufferSize_; }
    // The thread component that runs the transfers (for WaitTimeout and the like).
    TupCustomThread& Thread() { return *thread_; }

    // settings
    std::vector<std::string> RequestHeaders;
    std::string AcceptTypes;
    std::string UserAgent;
    std::string OutputFileName;
    TupOutputFileAttributes OutputFileAttributes;
    std::string URL;
    std::string PostData;
    std::string Referer;
    TupCacheOptions RequestCacheOptions;
    TupInternetOptions InternetOptions;
    TupHTTPRange Range;
    TupHTTPTimeouts Timeouts;
    TupRequestMethod RequestMethod = TupRequestMethod::Automatic;
    TupHTTPProxy Proxy;
    bool GoOnlineIfOffline = false;
    bool WorkOffline = false;
    // The most body bytes a transfer takes (0: no bound). A body announced or growing beyond it
    // ends the transfer as broken, so an endless body fills neither disk nor memory.
    std::uint64_t MaxBodySize = 0;
    // The receive time-out, in milliseconds, of a transfer whose Timeouts name none: no
    // transfer stays open for ever on a server that has stopped sending.
    std::uint32_t DefaultReceiveTimeout = kDefaultReceiveTimeout;

    // events
    THTTPRequestReadyEvent OnRequestReady;
    THTTPResponseHeadersEvent OnResponseHeaders;
    THTTPTransferCompleteEvent OnTransferComplete;
    TNotifyEvent OnTransferSkipped;
    THTTPDownloadProgressEvent OnDownloadProgress;
    THTTPConnectionStatusEvent OnConnectionStatus;
    THTTPRedirectionEvent OnRedirection;
    THTTPUploadProgressEvent OnUploadProgress;
    TNotifyEvent OnTransferFailed;
    TNotifyEvent OnTransferCancelled;
    THTTPTransferBrokenEvent OnTransferBroken;
    TNotifyEvent OnServerUnreachable;
    THTTPStatusErrorEvent OnHTTPStatusError;
    TNotifyEvent OnNoOutput;
    TupHTTPPasswordRequestEvent OnAuthorizationRequest;
    TupHTTPProxyAuthenticationEvent OnProxyAuthenticationRequest;
    TWaitTimeoutEvent OnThreadWaitTimeout;

private:
    enum class Next { Proceed, Reconnect, End };

    bool Start(bool Wait);
    // the transfer (upHTTPTransfer.cpp)
    void Transfer();
    void OpenSession();
    // Steps from opening the request (or local file) to the end of the body; false when the
    // transfer ended early.
    bool RunSteps(bool local, const TURLComponents& parts, const std::string& user,
                  const std::string& password);
    Next OpenLocalFile(const TURLComponents& parts);
    Next OpenRequest(const TURLComponents& parts, const std::string& user,
                     const std::string& password);
    Next SendRequest();
    bool SendOnce();
    bool SendUpload();
    Next CheckWholeSize();
    void AskForLogin();
    void AskForProxyLogin();
    Next ReadResponseHeaders();
    Next ChooseOutput();
    Next ReadBody();
    Next CopyBody();
    Next VerifyFirstBlock(std::size_t count);
    bool ReadBlock(std::size_t& count);
    std::string HeaderText(const std::string& rangeLine) const;
    std::optional<std::string> Header(std::string_view name) const;
    platform::RequestFlags Flags() const;
    void ReportStatus(int status, const std::string& information);
    void Checkpoint();
    bool OverBound(std::uint64_t bytes) const;
    // the component (upHTTPComponent.cpp)
    void CompleteTransfer();
    TupTransferOutcome Outcome() const;
    // False when a handler freed the component.
    bool FireOutcome(const TupTransferOutcome& outcome);
    void CancelCleanup();
    void WaitTimedOut(bool& Terminate);
    void CloseHandles();
    void CloseRequest();
    void UpdateFigures(std::uint64_t done);
    void FireTransferFailed();
    bool TruncateOutput();

    std::unique_ptr<TupCustomThread> thread_;
    // Cleared by the destructor; a handler that frees the component leaves it false behind it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::uint32_t transferBufferSize_ = kDefaultTransferBufferSize;

    // per transfer
    std::unique_ptr<platform::InternetSession> session_;
    std::unique_ptr<platform::InternetConnection> connection_;
    std::unique_ptr<platform::InternetRequest> request_;
    std::unique_ptr<platform::File> localFile_;
    std::unique_ptr<TStream> stream_;
    std::vector<char> buffer_;
    bool success_ = false;
    bool retry_ = false;
    bool outputIsFile_ = false;
    bool continue_ = true;
    bool deleteOutputOnCancel_ = false;
    bool uploadMode_ = false;
    bool started_ = false;
    bool bodyFailed_ = false; // the body could not be read to its end or not be written
    bool workFailed_ = false; // the transfer raised; it was reported as failed already
    bool rangeRequested_ = false;
    std::uint64_t transferNumber_ = 0;
    // 64-bit inside, so that a length of 4 GiB or more is held to what it says
    std::uint64_t totalSize_ = 0;
    std::uint64_t bytesRead_ = 0;
    std::uint32_t startTick_ = 0;
    std::uint32_t resumeOffset_ = 0;
    std::uint32_t endPosition_ = 0;
    std::string uploadHeaders_;
    int statusCode_ = -1;
    std::string contentType_;
    std::uint8_t percentDone_ = 0;
    std::uint32_t elapsedTime_ = 0;
    std::int32_t timeLeft_ = 0;
    float transferRate_ = -1.0f;
};

} // namespace quorvex
