#include "platform/UiThread.h"

#include "platform/Exception.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace quorvex::platform {
namespace {

struct PendingCall {
    const std::function<void()>* call;
    std::exception_ptr error;
    bool done = false;
};

// Calls queued by workers; one process-wide queue, as there is one user-interface thread.
struct CallQueue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<PendingCall*> waiting;
};

CallQueue& Queue() {
    static CallQueue queue;
    return queue;
}

std::atomic<bool> applicationTerminated{false};

void PostRunPendingCalls() {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { RunPendingUiCalls(); }, Qt::QueuedConnection);
}

} // namespace

bool IsUiThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application == nullptr || application->thread() == QThread::currentThread();
}

std::exception_ptr InvokeOnUiThread(const std::function<void()>& call) {
    PendingCall pending{&call, nullptr};
    if (IsUiThread()) {
        try {
            call();
        } catch (...) {
            return std::current_exception();
        }
        return nullptr;
    }
    CallQueue& queue = Queue();
    std::unique_lock lock(queue.mutex);
    queue.waiting.push_back(&pending);
    queue.changed.notify_all();
    PostRunPendingCalls();
    queue.changed.wait(lock, [&] { return pending.done; });
    return pending.error;
}

void RunPendingUiCalls() {
    CallQueue& queue = Queue();
    std::unique_lock lock(queue.mutex);
    while (!queue.waiting.empty()) {
        PendingCall* pending = queue.waiting.front();
        queue.waiting.pop_front();
        lock.unlock();
        try {
            (*pending->call)();
        } catch (...) {
            pending->error = std::current_exception();
        }
        lock.lock();
        pending->done = true;
        queue.changed.notify_all();
    }
}

void WaitServicingUiCalls(const std::function<bool()>& finished) {
    CallQueue& queue = Queue();
    while (true) {
        RunPendingUiCalls();
        std::unique_lock lock(queue.mutex);
        if (finished())
            return;
        queue.changed.wait(lock, [&] { return !queue.waiting.empty() || finished(); });
    }
}

void WakeUiThread() {
    CallQueue& queue = Queue();
    {
        std::lock_guard lock(queue.mutex);
        queue.changed.notify_all();
    }
    if (const QCoreApplication* application = QCoreApplication::instance())
        if (QAbstractEventDispatcher* dispatcher = application->thread()->eventDispatcher())
            dispatcher->wakeUp();
}

PumpResult PumpMessagesOnce(const std::function<bool()>& finished, std::uint32_t timeoutMs) {
    if (QCoreApplication::instance() == nullptr)
        throw Exception("Waiting for a worker needs the application object");
    if (finished())
        return PumpResult::Finished;
    bool timedOut = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { timedOut = true; });
    if (timeoutMs != 0)
        timer.start(static_cast<int>(timeoutMs));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents();
    if (finished())
        return PumpResult::Finished;
    return timedOut ? PumpResult::TimedOut : PumpResult::Input;
}

void TerminateApplication() {
    applicationTerminated = true;
    QCoreApplication::exit(0);
    WakeUiThread();
}

bool ApplicationTerminated() {
    return applicationTerminated;
}

void CloseMainWindows() {
    // A widget application offers closeAllWindows(); a console one has no windows to close.
    if (QCoreApplication* application = QCoreApplication::instance())
        if (application->metaObject()->indexOfMethod("closeAllWindows()") >= 0)
            QMetaObject::invokeMethod(application, "closeAllWindows", Qt::DirectConnection);
}

} // namespace quorvex::platform
