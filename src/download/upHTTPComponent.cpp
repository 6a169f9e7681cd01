#include "download/upHTTP.h"
#include "platform/Clock.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvex {
namespace {

inline constexpr const char* kDefaultAcceptTypes = "text/html, */*";
inline constexpr const char* kDefaultUserAgent = "Quorvex-HTTP (Quorvex)";
inline constexpr double kMaxSeconds = std::numeric_limits<std::int32_t>::max();

bool IsPlainArchive(const TupFileAttributes& attributes) {
    return attributes == TupFileAttributes{TupFileAttribute::atrArchive};
}

} // namespace

TupCustomHTTP::TupCustomHTTP(TComponent* Owner)
    : TupLoginComponent(Owner)
    , AcceptTypes(kDefaultAcceptTypes)
    , UserAgent(kDefaultUserAgent)
    , RequestCacheOptions{TupCacheOption::coReloadIfNoExpireInformation,
                          TupCacheOption::coReloadUpdatedObjects,
                          TupCacheOption::coCreateTempFilesIfCantCache}
    , InternetOptions{TupInternetOption::ioKeepConnection}
    , thread_(std::make_unique<TupCustomThread>(this)) {
    thread_->SetOnWork([this](TComponent*) { Transfer(); });
    thread_->SetOnWorkError([this](TComponent*) { FireTransferFailed(); });
    thread_->SetOnWorkDone([this](TComponent*) { CompleteTransfer(); });
    thread_->OnWaitTimeout = [this](TComponent*, bool& Terminate) { WaitTimedOut(Terminate); };
}

TupCustomHTTP::~TupCustomHTTP() {
    Destroying();
    thread_->Suspend();
    // The worker, and the request's abort check as the handles close, ask thread_ until the
    // end, so it goes last (resetting the pointer empties it before the object goes).
    if (thread_->IsRunning())
        thread_->Terminate(true);
    CloseHandles();
    ReleaseOutput();
    thread_.reset();
}

bool TupCustomHTTP::Fetch(bool Wait) {
    return FetchRange(0, 0, Wait);
}

bool TupCustomHTTP::FetchRange(std::uint32_t StartPos, std::uint32_t EndPos, bool Wait) {
    if (started_)
        return false;
    resumeOffset_ = StartPos;
    endPosition_ = EndPos;
    uploadMode_ = false;
    return Start(Wait);
}

bool TupCustomHTTP::Upload(std::unique_ptr<TMemoryStream> Body, const std::string& ContentType,
                           bool Wait) {
    if (started_)
        return false;
    resumeOffset_ = 0;
    endPosition_ = 0;
    uploadMode_ = true;
    uploadHeaders_ = "Content-Type: " + ContentType + "\r\n";
    stream_ = std::move(Body);
    return Start(Wait);
}

bool TupCustomHTTP::Start(bool Wait) {
    started_ = true;
    ++transferNumber_;
    transferRate_ = -1.0f;
    if (!Wait)
        return thread_->Run();
    const bool waited = thread_->WaitForThread;
    thread_->WaitForThread = true;
    const bool result = thread_->Run();
    thread_->WaitForThread = waited;
    return result;
}

void TupCustomHTTP::Cancel(bool DeleteOutput, bool Immediately) {
    if (!IsBusy())
        return;
    deleteOutputOnCancel_ = DeleteOutput;
    thread_->Terminate(Immediately);
    if (Immediately)
        CancelCleanup();
}

bool TupCustomHTTP::IsBusy() const {
    return thread_->IsRunning();
}

void TupCustomHTTP::ReleaseOutput() {
    buffer_.clear();
    buffer_.shrink_to_fit();
    const bool wasFile = outputIsFile_ && stream_ != nullptr;
    stream_.reset();
    if (wasFile && !IsPlainArchive(OutputFileAttributes.Incomplete()))
        ApplyFileAttributes(OutputFileName, OutputFileAttributes.Incomplete());
    outputIsFile_ = false;
    started_ = false;
}

std::string TupCustomHTTP::URLHostName() const {
    return HostFromURL(URL);
}

std::string TupCustomHTTP::URLFileName() const {
    return FileNameFromURL(URL);
}

TThreadPriority TupCustomHTTP::ThreadPriority() const {
    return thread_->Priority();
}

void TupCustomHTTP::SetThreadPriority(TThreadPriority Value) {
    thread_->SetPriority(Value);
}

void TupCustomHTTP::SetTransferBufferSize(std::uint32_t Value) {
    transferBufferSize_ = std::clamp(Value, kMinTransferBufferSize, kMaxTransferBufferSize);
}

void TupCustomHTTP::UpdateFigures(std::uint32_t done) {
    percentDone_ = Percent(static_cast<long double>(totalSize_) + resumeOffset_,
                           static_cast<long double>(done) + resumeOffset_);
    elapsedTime_ = (platform::GetTickCount() - startTick_) / 1000;
    const auto elapsed = static_cast<std::int32_t>(elapsedTime_);
    if (totalSize_ == 0 || done == 0) {
        timeLeft_ = -elapsed;
    } else {
        // A huge announced length with a trickle of bytes projects beyond any 32-bit count.
        const double projected = std::min(
            std::nearbyint(static_cast<double>(totalSize_) / done * elapsedTime_), kMaxSeconds);
        timeLeft_ = static_cast<std::int32_t>(projected) - elapsed;
    }
    transferRate_ = static_cast<float>(done / 1024.0);
    if (elapsedTime_ != 0)
        transferRate_ /= static_cast<float>(elapsedTime_);
}

void TupCustomHTTP::FireTransferFailed() {
    if (OnTransferFailed)
        OnTransferFailed(this);
}

void TupCustomHTTP::CompleteTransfer() {
    const auto transfer = transferNumber_;
    CloseHandles();
    if (stream_)
        stream_->Seek(0);
    if (continue_ && success_ && !stream_) {
        FireTransferFailed();
        if (OnNoOutput)
            OnNoOutput(this);
        started_ = false;
        return;
    }
    const bool deleteOutput = continue_ && !success_ && statusCode_ != 200 && statusCode_ != 206 &&
                              statusCode_ != -1 && outputIsFile_;
    if (continue_)
        FireOutcome();
    if (transferNumber_ != transfer)
        return; // a handler started the next transfer, which owns the output now
    ReleaseOutput();
    if (deleteOutput)
        platform::DeleteFile(OutputFileName);
    if (!continue_ && OnTransferSkipped)
        OnTransferSkipped(this);
}

void TupCustomHTTP::FireOutcome() {
    if (success_) {
        const bool toFile = outputIsFile_;
        if (toFile) {
            ReleaseOutput(); // closes the file, marking it incomplete until the line below
            if (!(OutputFileAttributes.Incomplete() == OutputFileAttributes.Complete()))
                ApplyFileAttributes(OutputFileName, OutputFileAttributes.Complete());
        }
        if (OnTransferComplete)
            OnTransferComplete(this, contentType_, bytesRead_ + resumeOffset_,
                               toFile ? nullptr : stream_.get());
        return;
    }
    if (statusCode_ == 200 || statusCode_ == 206) {
        if (OnTransferBroken)
            OnTransferBroken(this, contentType_, totalSize_, bytesRead_, stream_.get());
    } else if (statusCode_ == -1) {
        if (OnServerUnreachable)
            OnServerUnreachable(this);
    } else if (OnHTTPStatusError) {
        OnHTTPStatusError(this, statusCode_, stream_.get());
    }
    FireTransferFailed();
}

void TupCustomHTTP::CancelCleanup() {
    CloseHandles();
    const bool wasFile = outputIsFile_;
    ReleaseOutput();
    if (wasFile && deleteOutputOnCancel_)
        platform::DeleteFile(OutputFileName);
    if (IsDestroying())
        return;
    const auto fire = [this] {
        if (OnTransferCancelled)
            OnTransferCancelled(this);
    };
    if (thread_->Suspended())
        fire();
    else
        thread_->Synchronize(fire);
}

void TupCustomHTTP::WaitTimedOut(bool& Terminate) {
    if (OnThreadWaitTimeout)
        OnThreadWaitTimeout(this, Terminate);
    if (Terminate) {
        // The worker is stopped first: it may still be using the handles and the output.
        thread_->Terminate(true);
        CloseHandles();
        ReleaseOutput();
    }
}

void TupCustomHTTP::CloseRequest() {
    request_.reset();
    connection_.reset();
}

void TupCustomHTTP::CloseHandles() {
    localFile_.reset();
    CloseRequest();
    session_.reset();
}

} // namespace quorvex
