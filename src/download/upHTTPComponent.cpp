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
    thread_->SetOnWorkError([this](TComponent*) {
        workFailed_ = true;
        FireTransferFailed();
    });
    thread_->SetOnWorkDone([this](TComponent*) { CompleteTransfer(); });
    thread_->OnWaitTimeout = [this](TComponent*, bool& Terminate) { WaitTimedOut(Terminate); };
}

TupCustomHTTP::~TupCustomHTTP() {
    *alive_ = false;
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
    workFailed_ = false;
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

void TupCustomHTTP::UpdateFigures(std::uint64_t done) {
    percentDone_ = Percent(static_cast<long double>(totalSize_) + resumeOffset_,
                           static_cast<long double>(done) + resumeOffset_);
    elapsedTime_ = (platform::GetTickCount() - startTick_) / 1000;
    const auto elapsed = static_cast<std::int32_t>(elapsedTime_);
    if (totalSize_ == 0 || done == 0) {
        timeLeft_ = -elapsed;
    } else {
        // A huge announced length with a trickle of bytes projects beyond any 32-bit count.
        const double projected = std::min(std::nearbyint(static_cast<double>(totalSize_) /
                                                         static_cast<double>(done) * elapsedTime_),
                                          kMaxSeconds);
        timeLeft_ = static_cast<std::int32_t>(projected) - elapsed;
    }
    transferRate_ = static_cast<float>(static_cast<double>(done) / 1024.0);
    if (elapsedTime_ != 0)
        transferRate_ /= static_cast<float>(elapsedTime_);
}

void TupCustomHTTP::FireTransferFailed() {
    if (OnTransferFailed)
        OnTransferFailed(this);
}

TupTransferOutcome TupCustomHTTP::Outcome() const {
    using Kind = TupTransferOutcome::Kind;
    TupTransferOutcome outcome;
    outcome.StatusCode = statusCode_;
    if (workFailed_)
        outcome.kind = Kind::Raised;
    else if (!continue_)
        outcome.kind = Kind::Skipped;
    else if (success_ && !stream_)
        outcome.kind = Kind::NoOutput;
    else if (success_) {
        outcome.kind = Kind::Complete;
        outcome.Size = EventFigure(bytesRead_ + resumeOffset_);
    } else if (statusCode_ == 200 || statusCode_ == 206) {
        outcome.kind = Kind::Broken;
        outcome.TotalSize = EventFigure(totalSize_);
        outcome.BytesRead = EventFigure(bytesRead_);
    } else if (statusCode_ == -1)
        outcome.kind = Kind::Unreachable;
    else {
        outcome.kind = Kind::StatusError;
        outcome.DeleteOutput = outputIsFile_;
    }
    return outcome;
}

void TupCustomHTTP::CompleteTransfer() {
    using Kind = TupTransferOutcome::Kind;
    // Any handler below may free the component; nothing of it is touched after that.
    const auto alive = alive_;
    const auto transfer = transferNumber_;
    CloseHandles();
    if (stream_)
        stream_->Seek(0);
    const TupTransferOutcome outcome = Outcome();
    switch (outcome.kind) {
    case Kind::Raised:
        ReleaseOutput(); // an output file stays incomplete
        return;
    case Kind::NoOutput:
        started_ = false;
        FireTransferFailed();
        if (*alive && OnNoOutput)
            OnNoOutput(this);
        return;
    case Kind::Skipped:
        break;
    default:
        if (!FireOutcome(outcome))
            return;
    }
    if (transferNumber_ != transfer)
        return; // a handler started the next transfer, which owns the output now
    ReleaseOutput();
    if (outcome.DeleteOutput)
        platform::DeleteFile(OutputFileName);
    if (outcome.kind == Kind::Skipped && OnTransferSkipped)
        OnTransferSkipped(this);
}

bool TupCustomHTTP::FireOutcome(const TupTransferOutcome& outcome) {
    using Kind = TupTransferOutcome::Kind;
    const auto alive = alive_;
    switch (outcome.kind) {
    case Kind::Complete: {
        const bool toFile = outputIsFile_;
        if (toFile) {
            ReleaseOutput(); // closes the file, marking it incomplete until the line below
            if (!(OutputFileAttributes.Incomplete() == OutputFileAttributes.Complete()))
                ApplyFileAttributes(OutputFileName, OutputFileAttributes.Complete());
        }
        if (OnTransferComplete)
            OnTransferComplete(this, contentType_, outcome.Size, toFile ? nullptr : stream_.get());
        return *alive;
    }
    case Kind::Broken:
        if (OnTransferBroken)
            OnTransferBroken(this, contentType_, outcome.TotalSize, outcome.BytesRead,
                             stream_.get());
        break;
    case Kind::Unreachable:
        if (OnServerUnreachable)
            OnServerUnreachable(this);
        break;
    default:
        if (OnHTTPStatusError)
            OnHTTPStatusError(this, outcome.StatusCode, stream_.get());
    }
    if (!*alive)
        return false;
    FireTransferFailed();
    return *alive;
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
