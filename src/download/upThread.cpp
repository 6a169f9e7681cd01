// The component that runs one piece of work per Run on a fresh thread object, and stops,
// replaces and reaps those objects.
#include "download/upThread.h"

#include "platform/UiThread.h"

namespace quorvex {

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
        return *TupEventThread::Current();
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
    TupEventThread* own = TupEventThread::Current();
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
    const TupEventThread* current = TupEventThread::Current();
    return current != nullptr && &current->Owner() == this;
}

bool TupCustomThread::Suspended() const {
    return CallersThread().Suspended();
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
