#include "platform/SignalWait.h"

#include "platform/UiThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <map>

namespace quorvex::platform {
namespace {

struct Wait {
    QEventLoop* loop = nullptr;
    bool signalled = false;
};

// Waits going on, by handle; touched on the user-interface thread only.
std::map<SignalHandle, Wait>& Waits() {
    static std::map<SignalHandle, Wait> waits;
    return waits;
}

SignalHandle nextHandle = 1;

} // namespace

SignalHandle CreateSignalWait() {
    const SignalHandle handle = nextHandle++;
    Waits()[handle] = Wait{};
    return handle;
}

void RunSignalWait(SignalHandle handle, int timeoutMs, bool stopWhenTerminating) {
    auto found = Waits().find(handle);
    if (found == Waits().end())
        return;
    QEventLoop loop;
    QTimer timer;
    bool timedOut = false;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    if (timeoutMs > 0)
        timer.start(timeoutMs);
    found->second.loop = &loop;
    // The loop also leaves when the application is told to terminate; without
    // stopWhenTerminating the wait goes on. An event loop started after that point returns at
    // once (-1), so the wait then processes the events itself, still ending at its time limit.
    while (!found->second.signalled && !timedOut &&
           !(stopWhenTerminating && ApplicationTerminated())) {
        if (loop.exec() == -1)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    Waits().erase(handle);
}

void SignalWait(SignalHandle handle) {
    auto found = Waits().find(handle);
    if (found == Waits().end())
        return;
    found->second.signalled = true;
    if (found->second.loop != nullptr)
        found->second.loop->quit();
}

} // namespace quorvex::platform
