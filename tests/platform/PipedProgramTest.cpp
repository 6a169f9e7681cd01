#include "platform/PipedProgram.h"

#include "platform/Exception.h"

#include <gtest/gtest.h>

using namespace quorvex;
using namespace quorvex::platform;

namespace {

inline constexpr Milliseconds kGenerousLimit{30000};

TEST(RunProgram, FeedsInputAndCollectsBothOutputsAndTheStatus) {
    // More than a pipe holds, both ways: neither side may wait for the other.
    const std::string large(1 << 20, 'x');
    const ProgramOutcome copied = RunProgram("/bin/cat", {"cat"}, large, kGenerousLimit);
    EXPECT_EQ(copied.Output, large);
    EXPECT_EQ(copied.ExitStatus, 0);

    const ProgramOutcome failed =
        RunProgram("/bin/sh", {"sh", "-c", "echo out; echo err >&2; exit 3"}, "", kGenerousLimit);
    EXPECT_EQ(failed.Output, "out\n");
    EXPECT_EQ(failed.ErrorOutput, "err\n");
    EXPECT_EQ(failed.ExitStatus, 3);

    // A child that reads nothing and ends does not take the caller along (SIGPIPE).
    EXPECT_EQ(RunProgram("/bin/true", {"true"}, large, kGenerousLimit).ExitStatus, 0);
}

TEST(RunProgram, AChildOverItsLimitIsKilledAndReported) {
    EXPECT_THROW(RunProgram("/bin/sleep", {"sleep", "30"}, "", Milliseconds{100}), Exception);
    EXPECT_THROW(RunProgram("/nonexistent/program", {"x"}, "", kGenerousLimit), Exception);
}

TEST(RunProgram, WaitsInStepsAndPassesOnWhatAStepThrows) {
    int steps = 0;
    RunProgram("/bin/sleep", {"sleep", "0.2"}, "", kGenerousLimit,
               {Milliseconds{10}, [&](bool) { ++steps; }});
    EXPECT_GT(steps, 1);
    const StepWait abandoning{Milliseconds{10}, [](bool) { throw std::logic_error("abandoned"); }};
    EXPECT_THROW(RunProgram("/bin/sleep", {"sleep", "30"}, "", kGenerousLimit, abandoning),
                 std::logic_error);
}

TEST(FindProgram, SearchesThePath) {
    EXPECT_EQ(FindProgram("sh").value_or("").ends_with("/sh"), true);
    EXPECT_EQ(FindProgram("no-such-program-quorvex"), std::nullopt);
}

} // namespace
