#include "download/upThread.h"

#include "platform/ThreadPriority.h"
#include "platform/UiThread.h"

#include <array>

namespace quorvex {
namespace {

// The thread object whose work runs on the calling thread, if any.
thread_local TupEventThread* currentThreadObject = nullptr;

struct PriorityValue {
    TThreadPriority priority;
    int value;
};

inline constexpr std::array<PriorityValue, 7> kPriorityValues = {{
    {TThreadPriority::tpIdle, -15},
    {TThreadPriority::tpLowest, -2},
    {TThreadPriority::tpLower, -1},
    {TThreadPriority::tpNormal, 0},
    {TThreadPriority::tpHigher, 1},
    {TThreadPriority::tpHighest, 2},
    {TThreadPriority::tpTimeCritical, 15},
}};

int PlatformValue(TThreadPriority priority) {
    for (const auto& entry : kPriorityValues)
        if (entry.priority == priority)
            return entry.value;
    return 0;
}

TThreadPriority FromPlatformValue(int value) {
    for (const auto& entry : kPriorityValues)
        if (entry.value == value)
            return entry.priority;
    return TThreadPriority::tpNormal;
}

} // namespace

// ---- TupEventThread --------------------------------------------------------------------------

TupEventThread::TupEventThread(TupCustomThread& Owner)
    : owner_(Owner) {}

TupEventThread::~TupEventThread() {
    Terminated = true;
    if (!thread_.joinable())
        return;
    if (!*ended_) {
        Abandon();
        WaitFor();
    }
    thread_.join();
}

void TupEventThread::Suspend() {
    std::lock_guard lock(mutex_);
    ++suspendCount_;
}

void TupEventThread::Resume() {
    std::lock_guard lock(mutex_);
    if (suspendCount_ > 0)
        --suspendCount_;
    if (suspendCount_ != 0)
        return;
    if (!started_) {
        started_ = true;
        running_ = true; // from the moment it is let go, so IsRunning never misses a starting run
        // A soft stop that comes after this point, before the new thread got to run, reaches
        // the work like any later one, so the work can clean up after it.
        stoppedBeforeStart_ = Terminated.load();
        thread_ = std::thread([this] { Execute(); });
    }
    changed_.notify_all();
}

bool TupEventThread::Suspended() const {
    std::lock_guard lock(mutex_);
    return suspendCount_ > 0;
}

std::int32_t TupEventThread::WaitFor() {
    {
        std::lock_guard lock(mutex_);
        if (!started_)
            return ReturnValue;
    }
    const auto ended = ended_;
    if (platform::IsUiThread()) {
        platform::WaitServicingUiCalls([&] { return ended->load(); });
    } else {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return ended->load(); });
    }
    return ReturnValue;
}

void TupEventThread::WaitWhileSuspended() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return suspendCount_ == 0 || abandoned_; });
}

void TupEventThread::Synchronize(const std::function<void()>& Method) {
    if (abandoned_)
        throw TupThreadAbandoned{};
    WaitWhileSuspended();
    // Read now: the method may free the owner, and with it the component.
    const bool handleExceptions = owner_.HandleExceptions;
    const auto error = platform::InvokeOnUiThread([&] {
        if (abandoned_ || owner_.IsDestroying())
            return;
        inCall_ = true;
        try {
            Method();
        } catch (...) {
            inCall_ = false;
            throw;
        }
        inCall_ = false;
    });
    if (abandoned_)
        throw TupThreadAbandoned{};
    if (error && !handleExceptions)
        std::rethrow_exception(error);
}

TThreadPriority TupEventThread::Priority() const {
    const pid_t id = threadId_;
    if (id == 0 || *ended_)
        return priority_;
    return FromPlatformValue(platform::GetThreadPriority(id));
}

void TupEventThread::SetPriority(TThreadPriority Value) {
    priority_ = Value;
    const pid_t id = threadId_;
    // A refused change (raising needs privileges) leaves the worker at its priority; the work
    // runs all the same.
    if (id != 0 && !*ended_)
        platform::SetThreadPriority(id, PlatformValue(Value));
}

std::unique_ptr<TupEventThread> TupEventThread::Copy() const {
    auto fresh = std::make_unique<TupEventThread>(owner_);
    fresh->priority_ = priority_.load();
    fresh->OnWork = OnWork;
    fresh->OnWorkError = OnWorkError;
    fresh->OnWorkDone = OnWorkDone;
    return fresh;
}

bool TupEventThread::IsCurrentThread() const {
    return currentThreadObject == this;
}

void TupEventThread::Abandon() {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
    Terminated = true;
    changed_.notify_all();
}

void TupEventThread::AbandonAndFreeOnEnd() {
    Abandon();
    freeOnEnd_ = true;
}

void TupEventThread::Execute() {
    currentThreadObject = this;
    threadId_ = platform::CurrentThreadId();
    if (priority_ != TThreadPriority::tpNormal)
        platform::SetThreadPriority(threadId_, PlatformValue(priority_));
    if (stoppedBeforeStart_ || abandoned_) {
        running_ = false;
        EndThread(freeOnEnd_);
        return;
    }
    bool stopped = false;
    try {
        ExecuteWork();
    } catch (const TupThreadAbandoned&) {
        stopped = true;
    } catch (...) {
        // Only with HandleExceptions off: the failure has no one to go to on this thread, so
        // the worker ends as if the work had returned and the finished handler still runs.
    }
    if (!stopped) {
        try {
            Synchronize([this] { DeliverWorkDone(); });
        } catch (...) {
            // Stopped meanwhile, or OnWorkDone failed with HandleExceptions off: the run is over
            // either way and the failure has no one to go to on this thread.
        }
    }
    running_ = false;
    EndThread(freeOnEnd_);
}

void TupEventThread::ExecuteWork() {
    if (!OnWork || owner_.IsDestroying())
        return;
    if (!owner_.HandleExceptions) {
        OnWork(&owner_);
        return;
    }
    try {
        OnWork(&owner_);
    } catch (const TupThreadAbandoned&) {
        throw;
    } catch (...) {
        // The failure is reported through OnWorkError, which gets no exception by design.
        if (OnWorkError && !owner_.IsDestroying())
            Synchronize([this] { OnWorkError(&owner_); });
    }
}

void TupEventThread::DeliverWorkDone() {
    const bool freeOwner = owner_.FreeOwnerOnTerminate;
    if (OnWorkDone && !owner_.IsDestroying()) {
        if (owner_.HandleExceptions) {
            try {
                OnWorkDone(&owner_);
            } catch (...) {
                // Reported through OnWorkError, as for a failure of the work itself.
                if (OnWorkError && !owner_.IsDestroying())
                    OnWorkError(&owner_);
            }
        } else {
            OnWorkDone(&owner_);
        }
    }
    if (freeOwner && owner_.Owner() != nullptr)
        owner_.FreeOwnerAfterWork(*this);
}

void TupEventThread::EndThread(bool freeSelf) {
    {
        std::lock_guard lock(mutex_);
        *ended_ = true;
        changed_.notify_all();
    }
    platform::WakeUiThread();
    if (freeSelf) {
        thread_.detach();
        delete this;
    }
}

// ---- TupCustomThread -------------------------------------------------------------------------

TupCustomThread::TupCustomThread(TComponent* Owner)
    : TComponent(Owner)
    , thread_(std::make_unique<TupEventThread>(*this)) {}

TupCustomThread::~TupCustomThread() {
    Destroying();
    if (IsRunning())
        Terminate(true);
    std::unique_ptr<TupEventThread> last;
    {
        std::lock_guard lock(threadMutex_);
        last = std::move(thread_);
    }
    last.reset();
    ReapRetired();
}

TupEventThread& TupCustomThread::CallersThread() const {
    if (OnWorker())
        return *currentThreadObject;
    std::lock_guard lock(threadMutex_);
    return *thread_;
}

void TupCustomThread::ApplyToThread(const std::function<void(TupEventThread&)>& change) {
    std::lock_guard lock(threadMutex_);
    change(*thread_);
}

void TupCustomThread::ReapRetired() {
    std::vector<std::unique_ptr<TupEventThread>> done;
    {
        std::lock_guard lock(threadMutex_);
        done.swap(retired_);
    }
    done.clear(); // each waits for its worker, which only unwinds by now
}

bool TupCustomThread::Run() {
    StopFromOutside();
    TupEventThread* fresh = nullptr;
    {
        std::lock_guard lock(threadMutex_);
        fresh = thread_.get();
    }
    fresh->Resume();
    if (!WaitForThread)
        return true;
    return WaitForWorker(*fresh);
}

bool TupCustomThread::WaitForWorker(TupEventThread& worker) {
    const auto ended = worker.EndedFlag();
    const auto freed = freed_;
    while (true) {
        const auto result = platform::PumpMessagesOnce([&] { return ended->load(); }, WaitTimeout);
        if (result == platform::PumpResult::Finished || *freed)
            return true;
        if (result == platform::PumpResult::TimedOut) {
            bool terminate = true;
            if (OnWaitTimeout)
                OnWaitTimeout(this, terminate);
            if (terminate)
                Terminate(true);
            return !terminate;
        }
        if (IsDestroying() || platform::ApplicationTerminated())
            return true;
    }
}

void TupCustomThread::FreeOwnerAfterWork(TupEventThread& finishing) {
    {
        std::lock_guard lock(threadMutex_);
        if (thread_.get() == &finishing) {
            thread_.release(); // the finishing object frees itself when its thread ends
            thread_ = finishing.Copy();
            finishing.AbandonAndFreeOnEnd();
        }
    }
    *freed_ = true;
    delete Owner();
}

void TupCustomThread::Suspend() {
    CallersThread().Suspend();
}

void TupCustomThread::Terminate(bool Hard) {
    if (!Hard) {
        CallersThread().Terminated = true;
        return;
    }
    TupEventThread* own = currentThreadObject;
    if (own == nullptr || &own->Owner() != this) {
        StopFromOutside();
        return;
    }
    own->Abandon();
    {
        std::lock_guard lock(threadMutex_);
        if (thread_.get() == own) {
            auto fresh = own->Copy();
            retired_.push_back(std::move(thread_));
            thread_ = std::move(fresh);
        }
    }
    throw TupThreadAbandoned{};
}

void TupCustomThread::StopFromOutside() {
    std::unique_ptr<TupEventThread> old;
    {
        std::lock_guard lock(threadMutex_);
        if (!thread_)
            return;
        auto fresh = thread_->Copy();
        old = std::move(thread_);
        thread_ = std::move(fresh);
    }
    old->Abandon();
    if (old->InSynchronizedCall()) {
        // Stopped from inside a call it handed over: it cannot end before that call returns,
        // so it is not waited for; it unwinds afterwards without calling anything back.
        old->AbandonAndFreeOnEnd();
        old.release();
    } else {
        old.reset();
    }
    ReapRetired();
}

void TupCustomThread::Synchronize(const std::function<void()>& Method) {
    if (Owner() != nullptr && Owner()->IsDestroying())
        return;
    CallersThread().Synchronize(Method);
}

bool TupCustomThread::IsRunning() const {
    std::lock_guard lock(threadMutex_);
    return thread_ && thread_->IsRunning();
}

bool TupCustomThread::Terminated() const {
    return CallersThread().Terminated;
}

bool TupCustomThread::Abandoned() const {
    return CallersThread().IsAbandoned();
}

bool TupCustomThread::OnWorker() const {
    return currentThreadObject != nullptr && &currentThreadObject->Owner() == this;
}

bool TupCustomThread::Suspended() const {
    return CallersThread().Suspended();
}

void TupCustomThread::SetSuspended(bool Value) {
    if (Value == Suspended())
        return;
    if (Value)
        CallersThread().Suspend();
    else
        CallersThread().Resume();
}

TThreadPriority TupCustomThread::Priority() const {
    return CallersThread().Priority();
}

void TupCustomThread::SetPriority(TThreadPriority Value) {
    ApplyToThread([&](TupEventThread& thread) { thread.SetPriority(Value); });
}

void TupCustomThread::SetOnWork(TNotifyEvent Handler) {
    ApplyToThread([&](TupEventThread& thread) { thread.OnWork = std::move(Handler); });
}

void TupCustomThread::SetOnWorkError(TNotifyEvent Handler) {
    ApplyToThread([&](TupEventThread& thread) { thread.OnWorkError = std::move(Handler); });
}

void TupCustomThread::SetOnWorkDone(TNotifyEvent Handler) {
    ApplyToThread([&](TupEventThread& thread) { thread.OnWorkDone = std::move(Handler); });
}

} // namespace quorvex
