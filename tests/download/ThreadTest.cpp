#include "download/upThread.h"
#include "platform/ThreadPriority.h"
#include "platform/UiThread.h"
#include "support/Pumping.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

using namespace quorvex;
using quorvex::test_support::Milliseconds;
using quorvex::test_support::PumpFor;
using quorvex::test_support::PumpUntil;

namespace {

inline constexpr Milliseconds kQuiet{300};

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Records which thread each handler ran on and how often.
struct Trace {
    std::atomic<int> work{0}, error{0}, done{0}, synced{0};
    std::atomic<bool> workOnUi{true}, doneOnUi{false}, errorOnUi{false}, syncedOnUi{false};
};

void WireTrace(TupCustomThread& thread, Trace& trace, const std::function<void()>& body) {
    thread.SetOnWork([&trace, body](TComponent*) {
        trace.workOnUi = platform::IsUiThread();
        ++trace.work;
        body();
    });
    thread.SetOnWorkError([&trace](TComponent*) {
        trace.errorOnUi = platform::IsUiThread();
        ++trace.error;
    });
    thread.SetOnWorkDone([&trace](TComponent*) {
        trace.doneOnUi = platform::IsUiThread();
        ++trace.done;
    });
}

// Work that runs until a stop is requested, polling like the transfer does.
std::function<void()> UntilTerminated(TupCustomThread& thread) {
    return [&thread] {
        while (!thread.Terminated())
            SleepMs(5);
    };
}

} // namespace

TEST(WorkerThread, WorkRunsOnTheWorkerAndEveryHandlerOnTheUserInterfaceThread) {
    TupCustomThread thread;
    Trace trace;
    WireTrace(thread, trace, [&] {
        thread.Synchronize([&] {
            trace.syncedOnUi = platform::IsUiThread();
            ++trace.synced;
        });
    });
    thread.WaitForThread = true;
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(trace.work, 1);
    EXPECT_FALSE(trace.workOnUi);
    EXPECT_EQ(trace.synced, 1);
    EXPECT_TRUE(trace.syncedOnUi);
    EXPECT_EQ(trace.done, 1);
    EXPECT_TRUE(trace.doneOnUi);
    EXPECT_FALSE(thread.IsRunning());
}

TEST(WorkerThread, RunWithoutWaitingReturnsAtOnceAndDeliversDoneLater) {
    TupCustomThread thread;
    Trace trace;
    std::atomic<bool> release{false};
    WireTrace(thread, trace, [&] {
        while (!release)
            SleepMs(5);
    });
    EXPECT_TRUE(thread.Run());
    EXPECT_TRUE(thread.IsRunning());
    release = true;
    ASSERT_TRUE(PumpUntil([&] { return trace.done == 1; }));
    EXPECT_TRUE(PumpUntil([&] { return !thread.IsRunning(); }));
}

TEST(WorkerThread, RunTwiceStopsTheFirstWorkerAndKeepsHandlersAndPriority) {
    TupCustomThread thread;
    Trace trace;
    WireTrace(thread, trace, UntilTerminated(thread));
    thread.SetPriority(TThreadPriority::tpLower);
    thread.Run();
    ASSERT_TRUE(PumpUntil([&] { return trace.work == 1; }));
    thread.Run(); // stops the first at once: its OnWorkDone never comes
    EXPECT_EQ(thread.Priority(), TThreadPriority::tpLower);
    ASSERT_TRUE(PumpUntil([&] { return trace.work == 2; }));
    thread.Terminate(false);
    ASSERT_TRUE(PumpUntil([&] { return trace.done == 1; }));
    PumpFor(kQuiet);
    EXPECT_EQ(trace.done, 1);
}

TEST(WorkerThread, SoftTerminateOnlyAsksTheWorkToStop) {
    TupCustomThread thread;
    Trace trace;
    std::atomic<bool> sawTerminated{false};
    WireTrace(thread, trace, [&] {
        while (!thread.Terminated())
            SleepMs(5);
        SleepMs(100); // keeps going after the request, until it decides to return
        sawTerminated = true;
    });
    thread.Run();
    ASSERT_TRUE(PumpUntil([&] { return trace.work == 1; }));
    thread.Terminate(false);
    EXPECT_TRUE(thread.Terminated());
    EXPECT_TRUE(thread.IsRunning());
    ASSERT_TRUE(PumpUntil([&] { return trace.done == 1; }));
    EXPECT_TRUE(sawTerminated);
}

TEST(WorkerThread, HardTerminateFromTheWorkerSkipsDoneAndAllowsTheNextRun) {
    TupCustomThread thread;
    Trace trace;
    std::atomic<bool> afterTerminate{false};
    WireTrace(thread, trace, [&] {
        if (trace.work == 1) {
            thread.Terminate(true);
            afterTerminate = true;
        }
    });
    thread.Run();
    ASSERT_TRUE(PumpUntil([&] { return !thread.IsRunning(); }));
    PumpFor(kQuiet);
    EXPECT_FALSE(afterTerminate);
    EXPECT_EQ(trace.done, 0);
    thread.WaitForThread = true;
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(trace.work, 2);
    EXPECT_EQ(trace.done, 1);
}

TEST(WorkerThread, HardTerminateFromTheUserInterfaceThreadEndsTheWorkerBeforeReturning) {
    TupCustomThread thread;
    Trace trace;
    std::atomic<bool> workerEnded{false};
    WireTrace(thread, trace, [&] {
        while (true) { // like the transfer: hands a call over per step
            thread.Synchronize([] {});
            SleepMs(2);
        }
    });
    thread.SetOnWorkError([&](TComponent*) { workerEnded = true; });
    thread.Run();
    ASSERT_TRUE(PumpUntil([&] { return trace.work == 1; }));
    thread.Terminate(true);
    EXPECT_FALSE(thread.IsRunning());
    PumpFor(kQuiet);
    EXPECT_EQ(trace.done, 0);
    EXPECT_FALSE(workerEnded);
}

TEST(WorkerThread, HardTerminateInsideAHandedOverCallDoesNotDeadlock) {
    TupCustomThread thread;
    Trace trace;
    std::atomic<int> calls{0};
    WireTrace(thread, trace, [&] {
        while (true)
            thread.Synchronize([&] {
                if (++calls == 3)
                    thread.Terminate(true);
            });
    });
    thread.Run();
    ASSERT_TRUE(PumpUntil([&] { return calls >= 3 && !thread.IsRunning(); }));
    PumpFor(kQuiet);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(trace.done, 0);
}

TEST(WorkerThread, WaitTimeoutLeftTrueStopsTheWorkerAndRunReturnsFalse) {
    TupCustomThread thread;
    Trace trace;
    WireTrace(thread, trace, UntilTerminated(thread));
    int timeouts = 0;
    thread.OnWaitTimeout = [&](TComponent* sender, bool& terminate) {
        EXPECT_EQ(sender, &thread);
        EXPECT_TRUE(terminate);
        ++timeouts;
    };
    thread.WaitForThread = true;
    thread.WaitTimeout = 500;
    EXPECT_FALSE(thread.Run());
    EXPECT_EQ(timeouts, 1);
    EXPECT_FALSE(thread.IsRunning());
    PumpFor(kQuiet);
    EXPECT_EQ(trace.done, 0);
}

TEST(WorkerThread, WaitTimeoutSetFalseLetsTheWorkerGoOn) {
    TupCustomThread thread;
    Trace trace;
    WireTrace(thread, trace, UntilTerminated(thread));
    int timeouts = 0;
    thread.OnWaitTimeout = [&](TComponent*, bool& terminate) {
        ++timeouts;
        terminate = false;
    };
    thread.WaitForThread = true;
    thread.WaitTimeout = 500;
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(timeouts, 1);
    EXPECT_TRUE(thread.IsRunning());
    thread.Terminate(false);
    ASSERT_TRUE(PumpUntil([&] { return trace.done == 1; }));
}

TEST(WorkerThread, AnExceptionInTheWorkIsReportedOnTheUserInterfaceThreadThenDone) {
    TupCustomThread thread;
    Trace trace;
    WireTrace(thread, trace, [] { throw std::runtime_error("work failed"); });
    thread.WaitForThread = true;
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(trace.error, 1);
    EXPECT_TRUE(trace.errorOnUi);
    EXPECT_EQ(trace.done, 1);
}

TEST(WorkerThread, ExceptionOfAHandedOverCallReachesTheWorkerOnlyWithHandlingOff) {
    for (const bool handle : {true, false}) {
        TupCustomThread thread;
        Trace trace;
        std::atomic<bool> caughtOnWorker{false};
        WireTrace(thread, trace, [&] {
            try {
                thread.Synchronize([] { throw std::runtime_error("handler failed"); });
            } catch (const std::runtime_error&) {
                caughtOnWorker = true;
            }
        });
        thread.HandleExceptions = handle;
        thread.WaitForThread = true;
        thread.Run();
        EXPECT_EQ(caughtOnWorker, !handle) << "HandleExceptions " << handle;
        EXPECT_EQ(trace.done, 1);
    }
}

TEST(WorkerThread, PriorityIsAppliedToTheWorkerAndUnknownValuesReadNormal) {
    TupCustomThread thread;
    std::atomic<TThreadPriority> seen{TThreadPriority::tpNormal}, unknown{TThreadPriority::tpIdle};
    std::atomic<int> nice{0};
    thread.SetOnWork([&](TComponent*) {
        seen = thread.Priority();
        nice = -platform::GetThreadPriority(platform::CurrentThreadId());
        platform::SetThreadPriority(platform::CurrentThreadId(), -5); // none of the mapped values
        unknown = thread.Priority();
    });
    thread.SetPriority(TThreadPriority::tpLowest);
    thread.WaitForThread = true;
    thread.Run();
    EXPECT_EQ(seen, TThreadPriority::tpLowest);
    EXPECT_EQ(nice, 2);
    EXPECT_EQ(unknown, TThreadPriority::tpNormal);
}

TEST(WorkerThread, DestroyingTheComponentSkipsTheCallsOfItsWorker) {
    auto thread = std::make_unique<TupCustomThread>();
    std::atomic<int> calls{0}, done{0};
    TupCustomThread* raw = thread.get();
    thread->SetOnWork([&, raw](TComponent*) {
        while (true)
            raw->Synchronize([&] { ++calls; });
    });
    thread->SetOnWorkDone([&](TComponent*) { ++done; });
    thread->Run();
    ASSERT_TRUE(PumpUntil([&] { return calls >= 2; }));
    thread.reset();
    const int before = calls;
    PumpFor(kQuiet);
    EXPECT_EQ(calls, before);
    EXPECT_EQ(done, 0);
}

namespace {

struct OwnerComponent : TComponent {
    explicit OwnerComponent(std::atomic<bool>& gone)
        : gone_(gone)
        , thread(this) {}
    ~OwnerComponent() override {
        Destroying();
        gone_ = true;
    }
    std::atomic<bool>& gone_;
    TupCustomThread thread;
};

} // namespace

TEST(WorkerThread, FreeOwnerOnTerminateFreesTheOwnerAfterDone) {
    std::atomic<bool> gone{false};
    std::atomic<int> done{0};
    auto* owner = new OwnerComponent(gone);
    owner->thread.SetOnWork([](TComponent*) {});
    owner->thread.SetOnWorkDone([&](TComponent*) { ++done; });
    owner->thread.FreeOwnerOnTerminate = true;
    owner->thread.Run();
    ASSERT_TRUE(PumpUntil([&] { return gone.load(); }));
    EXPECT_EQ(done, 1);
    PumpFor(kQuiet); // the finished worker frees its own thread object
}

TEST(WorkerThreadDeathTest, WaitingRunReturnsTrueWhenTheApplicationIsToldToTerminate) {
    EXPECT_EXIT(
        {
            TupCustomThread thread;
            thread.SetOnWork([&](TComponent*) {
                while (!thread.Terminated())
                    SleepMs(5);
            });
            QTimer::singleShot(200, [] { platform::TerminateApplication(); });
            thread.WaitForThread = true;
            const bool result = thread.Run();
            std::exit(result && thread.IsRunning() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
