#include "platform/InstanceLock.h"

#include "support/ScopedEnvironment.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
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
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
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

// Another process that takes the lock and holds it until Stop (as a running instance would).
class Holder {
public:
    explicit Holder(const std::string& name) {
        int told[2];
        if (pipe(told) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            TInstanceLock lock(name);
            const char seen = lock.AlreadyExisted() ? 1 : 0;
            (void)!write(told[1], &seen, 1);
            while (true)
                pause();
        }
        char seen = 0;
        sawAnother_ = read(told[0], &seen, 1) == 1 && seen == 1;
        close(told[0]);
        close(told[1]);
    }
    ~Holder() { Stop(); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool SawAnother() const { return sawAnother_; }
    void Stop() {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool sawAnother_ = false;
};

TEST_F(InstanceLockTest, LockFileLivesInTheRuntimeFolderElseInTmpWithTheUserId) {
    EXPECT_EQ(TInstanceLock::LockPath("Quorvex"), (folder_ / "Quorvex.lock").string());
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(TInstanceLock::LockPath("Quorvex"),
              "/tmp/Quorvex-" + std::to_string(getuid()) + ".lock");
}

TEST_F(InstanceLockTest, AFileOrLinkAnotherUserPlantedNeitherBlocksAStartNorIsFollowed) {
    if (getuid() != 0)
        GTEST_SKIP() << "planting a file of another user needs root";
    namespace fs = std::filesystem;
    const test_support::ScopedEnvironment config("XDG_CONFIG_HOME", (folder_ / "config").string());
    unsetenv("XDG_RUNTIME_DIR");
    const std::string name = "Planted" + std::to_string(getpid());
    const std::string path = TInstanceLock::LockPath(name);
    const fs::path target = folder_ / "created-through-the-link";
    fs::create_symlink(target, path);
    EXPECT_FALSE(TInstanceLock(name).AlreadyExisted());
    EXPECT_FALSE(fs::exists(target));
    fs::remove(path);
    // Another user's file, writable by all and held locked by them.
    const int planted = open(path.c_str(), O_RDWR | O_CREAT, 0666);
    ASSERT_GE(planted, 0);
    ASSERT_EQ(fchown(planted, 65534, 65534), 0);
    fchmod(planted, 0666);
    struct flock whole {};
    whole.l_type = F_WRLCK;
    ASSERT_EQ(fcntl(planted, F_OFD_SETLK, &whole), 0);
    EXPECT_FALSE(TakenForAnotherProcess(name));
    {
        TInstanceLock first(name);
        EXPECT_TRUE(TakenForAnotherProcess(name)); // the instances still see each other
    }
    close(planted);
    fs::remove(path);
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

TEST_F(InstanceLockTest, EveryInstanceHoldsTheLockSoOneStartedWithArgumentsKeepsItAfterTheFirst) {
    Holder first("Quorvex"); // A: started without arguments
    ASSERT_FALSE(first.SawAnother());
    Holder second("Quorvex"); // B: started with an argument, so it runs beside A
    EXPECT_TRUE(second.SawAnother());
    first.Stop(); // A ends
    EXPECT_TRUE(TakenForAnotherProcess("Quorvex")) << "B still runs: a plain start must end";
    Holder third("Quorvex"); // another start with arguments joins B
    EXPECT_TRUE(third.SawAnother());
    second.Stop();
    EXPECT_TRUE(TakenForAnotherProcess("Quorvex"));
    third.Stop();
    EXPECT_FALSE(TakenForAnotherProcess("Quorvex"));
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
