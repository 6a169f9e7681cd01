#pragma once

#include "download/upComponent.h"
#include "platform/ThreadPriority.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quorvex {

enum class TThreadPriority {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

using TNotifyEvent = std::function<void(TComponent* Sender)>;
using TWaitTimeoutEvent = std::function<void(TComponent* Sender, bool& Terminate)>;

// Unwinds a worker that was stopped at once. It is not an error: work must let it pass (never
// swallow it with catch (...)), and the thread procedure ends quietly when it arrives.
struct TupThreadAbandoned {};

class TupCustomThread;

// One run of the work on a thread of its own. Created suspended; the thread starts when the
// object is resumed. A hard stop is cooperative: the object is marked abandoned, the worker's
// next Synchronize (or checkpoint) unwinds it with TupThreadAbandoned, and nothing it asks the
// user-interface thread to run is run any more.
class TupEventThread {
public:
    explicit TupEventThread(TupCustomThread& Owner);
    ~TupEventThread();
    TupEventThread(const TupEventThread&) = delete;
    TupEventThread& operator=(const TupEventThread&) = delete;

    // Suspending a running worker takes effect when it next hands a call over.
    void Suspend();
    void Resume();
    bool Suspended() const;

    // Waits for the thread to end; on the user-interface thread, queued calls are run meanwhile.
    std::int32_t WaitFor();

    // On the worker: runs Method on the user-interface thread. Throws TupThreadAbandoned once
    // the worker was stopped; re-raises Method's exception only with HandleExceptions off.
    void Synchronize(const std::function<void()>& Method);

    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority Value);

    // A fresh, suspended object for the same owner with this one's priority and handlers.
    std::unique_ptr<TupEventThread> Copy() const;

    bool IsRunning() const { return running_; }
    bool IsAbandoned() const { return abandoned_; }
    // Outlives the object, so a waiter can tell the end of a worker that frees itself.
    std::shared_ptr<std::atomic<bool>> EndedFlag() const { return ended_; }
    bool InSynchronizedCall() const { return inCall_; }
    TupCustomThread& Owner() const { return owner_; }
    // The thread object whose work runs on the calling thread, if any.
    static TupEventThread* Current();

    // Stops the worker at once (cooperatively): sets Terminated and lets a suspended worker go.
    void Abandon();
    // Abandons a worker that cannot be waited for now; the object frees itself when it ends.
    void AbandonAndFreeOnEnd();

    std::atomic<bool> Terminated{false};
    std::atomic<std::int32_t> ReturnValue{0};
    TNotifyEvent OnWork;
    TNotifyEvent OnWorkError;
    TNotifyEvent OnWorkDone;

private:
    void Execute();
    void ExecuteWork();
    void DeliverWorkDone();
    void EndThread(bool freeSelf);
    void WaitWhileSuspended();

    TupCustomThread& owner_;
    std::thread thread_;
    std::atomic<platform::ThreadId> threadId_{0};
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int suspendCount_ = 1;
    bool started_ = false;
    bool stoppedBeforeStart_ = false; // Terminated when the thread was let go
    std::shared_ptr<std::atomic<bool>> ended_ = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> freeOnEnd_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> abandoned_{false};
    std::atomic<bool> inCall_{false};
    std::atomic<TThreadPriority> priority_{TThreadPriority::tpNormal};
};

// Runs one piece of work (OnWork) on a worker thread of its own and hands its notifications
// back to the user-interface thread. Each Run starts a fresh worker.
class TupCustomThread : public TComponent {
public:
    explicit TupCustomThread(TComponent* Owner = nullptr);
    ~TupCustomThread() override;

    bool Run();
    void Suspend();
    // Soft: only sets Terminated. Hard: stops the worker at once and puts a fresh suspended
    // thread object in its place; called on the worker itself it does not return.
    void Terminate(bool Hard);
    // Runs Method on the user-interface thread; skipped while the owner is being destroyed.
    void Synchronize(const std::function<void()>& Method);
    bool IsRunning() const;
    bool Terminated() const;
    // True when the worker calling this was stopped at once from elsewhere.
    bool Abandoned() const;
    // True on a worker thread of this component.
    bool OnWorker() const;
    bool Suspended() const;
    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority Value);
    void SetOnWork(TNotifyEvent Handler);
    void SetOnWorkError(TNotifyEvent Handler);
    void SetOnWorkDone(TNotifyEvent Handler);

    bool HandleExceptions = true;
    // Frees the owner (which must have been created with new and be owned by no one else)
    // once the work has finished.
    bool FreeOwnerOnTerminate = false;
    bool WaitForThread = false;
    std::uint32_t WaitTimeout = 0; // milliseconds, 0 = without limit
    TWaitTimeoutEvent OnWaitTimeout;

private:
    friend class TupEventThread;

    // The thread object the caller deals with: its own one on a worker, else the current one.
    TupEventThread& CallersThread() const;
    void ReapRetired();
    void StopFromOutside();
    bool WaitForWorker(TupEventThread& worker);
    void FreeOwnerAfterWork(TupEventThread& finishing);
    void ApplyToThread(const std::function<void(TupEventThread&)>& change);

    mutable std::mutex threadMutex_;
    std::unique_ptr<TupEventThread> thread_;
    std::vector<std::unique_ptr<TupEventThread>> retired_;
    // Set just before a finished run frees the owner, for a Run that is still waiting.
    std::shared_ptr<std::atomic<bool>> freed_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace quorvex
