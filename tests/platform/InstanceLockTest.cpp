#include "platform/InstanceLock.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::platform {
namespace {

class InstanceLockTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvex-lock-test-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        const char* previous = std::getenv("XDG_RUNTIME_DIR");
        previous_ = previous != nullptr ? previous : "";
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    }
    void TearDown() override {
        setenv("XDG_RUNTIME_DIR", previous_.c_str(), 1);
        std::filesystem::remove_all(folder_);
    }

    // Whether a child process finds the lock taken.
    static bool TakenForAnotherProcess(const std::string& name) {
        const pid_t child = fork();
        if (child == 0)
            _exit(TInstanceLock(name).AlreadyExisted() ? 1 : 0);
        int status = 0;
        waitpid(child, &status, 0);
        return WEXITSTATUS(status) == 1;
    }

    std::filesystem::path folder_;
    std::string previous_;
};

TEST_F(InstanceLockTest, LockFileLivesInTheRuntimeFolderElseInTmpWithTheUserId) {
    EXPECT_EQ(TInstanceLock::LockPath("Quorvex"), (folder_ / "Quorvex.lock").string());
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(TInstanceLock::LockPath("Quorvex"),
              "/tmp/Quorvex-" + std::to_string(getuid()) + ".lock");
}

TEST_F(InstanceLockTest, SecondHolderSeesTheFirstUntilItGoesAway) {
    EXPECT_FALSE(TakenForAnotherProcess("Single"));
    {
        TInstanceLock first("Single");
        EXPECT_FALSE(first.AlreadyExisted());
        EXPECT_TRUE(TakenForAnotherProcess("Single"));
        EXPECT_FALSE(TakenForAnotherProcess("Other"));
    }
    EXPECT_FALSE(TakenForAnotherProcess("Single"));
}

TEST_F(InstanceLockTest, KernelDropsTheLockOfAProcessThatDies) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        TInstanceLock lock("Crash");
        const char byte = 1;
        (void)!write(ready[1], &byte, 1);
        pause();
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    EXPECT_TRUE(TInstanceLock("Crash").AlreadyExisted());
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_FALSE(TInstanceLock("Crash").AlreadyExisted());
    close(ready[0]);
    close(ready[1]);
}

TEST_F(InstanceLockTest, UnusableFolderCountsAsNoOtherInstance) {
    setenv("XDG_RUNTIME_DIR", (folder_ / "missing").c_str(), 1);
    EXPECT_FALSE(TInstanceLock("Quorvex").AlreadyExisted());
}

} // namespace
} // namespace quorvex::platform
