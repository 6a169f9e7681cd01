#include "platform/Process.h"

#include "platform/Exception.h"
#include "platform/WriteAccess.h"
#include "support/Files.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <thread>
#include <unistd.h>

using namespace quorvex;
using namespace quorvex::platform;

namespace {

namespace fs = std::filesystem;
using test_support::ReadWholeFile;

TEST(WriteAccess, OnlyARunningProgramsImageIsBusy) {
    const fs::path folder = fs::temp_directory_path() / ("qv-write-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "plain") << "text";
    struct Case {
        std::string path;
        WriteAccess expected;
    };
    std::vector<Case> cases{{"/proc/self/exe", WriteAccess::Busy},
                            {(folder / "plain").string(), WriteAccess::Granted},
                            {(folder / "missing").string(), WriteAccess::Refused},
                            {folder.string(), WriteAccess::Refused}};
    // Refused even to root: the kernel's read-only attributes.
    if (fs::exists("/sys/kernel/uevent_seqnum"))
        cases.push_back({"/sys/kernel/uevent_seqnum", WriteAccess::Refused});
    for (const Case& test : cases)
        EXPECT_EQ(ProbeWriteAccess(test.path), test.expected) << test.path;
    fs::remove_all(folder);
}

TEST(StartProgram, ChildStartsWithoutInheritedSignalMaskOrDescriptors) {
    const fs::path out = fs::temp_directory_path() / ("qv-start-" + std::to_string(getpid()));
    int status = -1;
    // The caller of an upgrade blocks its termination signals and may hold open descriptors.
    std::thread([&] {
        sigset_t blocked;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
        const int leaked = dup2(open("/dev/null", O_RDONLY), 57);
        const pid_t child =
            StartProgram("/bin/sh", {"sh", "-c",
                                     "grep SigBlk /proc/self/status > '" + out.string() +
                                         "'; [ -e /proc/self/fd/57 ] && echo leaked >> '" +
                                         out.string() + "'; exit 7"});
        status = WaitForChild(child);
        close(leaked);
    }).join();
    EXPECT_EQ(status, 7);
    EXPECT_EQ(ReadWholeFile(out), "SigBlk:\t0000000000000000\n");
    fs::remove(out);
}

TEST(StartProgram, MissingProgramIsAnError) {
    EXPECT_THROW(StartProgram("/nonexistent/program", {"program"}), Exception);
}

} // namespace
