// The thread object of one run: its thread, suspension, hand-over of calls to the
// user-interface thread, priority, and the end of the run.
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
    const platform::ThreadId id = threadId_;
    if (id == 0 || *ended_)
        return priority_;
    return FromPlatformValue(platform::GetThreadPriority(id));
}

void TupEventThread::SetPriority(TThreadPriority Value) {
    priority_ = Value;
    const platform::ThreadId id = threadId_;
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

TupEventThread* TupEventThread::Current() {
    return currentThreadObject;
}

} // namespace quorvex
