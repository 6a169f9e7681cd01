#include "support/ChildProcess.h"

#include "platform/Exception.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quorvex::test_support {

namespace {

inline constexpr std::chrono::milliseconds kExitPollInterval{20};
// Time a program gets to end on SIGTERM (and take its helper processes along) before SIGKILL.
inline constexpr std::chrono::milliseconds kTerminateGrace{10000};

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
    std::vector<std::string> merged(overrides);
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string current(*entry);
        const std::string name = current.substr(0, current.find('=') + 1);
        bool overridden = false;
        for (const std::string& override : overrides)
            overridden = overridden || override.starts_with(name);
        if (!overridden)
            merged.push_back(current);
    }
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment) {
    std::vector<std::string> arguments(argv);
    std::vector<std::string> variables = MergedEnvironment(environment);
    const int result = posix_spawnp(&pid_, arguments[0].c_str(), nullptr, nullptr,
                                    Pointers(arguments).data(), Pointers(variables).data());
    if (result != 0)
        throw Exception("Cannot start " + arguments[0] + ": " + std::strerror(result));
}

ChildProcess::~ChildProcess() {
    Kill();
}

bool ChildProcess::Running() {
    if (status_)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_)
        return true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Running() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(kExitPollInterval);
    return status_;
}

void ChildProcess::Kill() {
    if (!Running())
        return;
    kill(pid_, SIGTERM);
    if (WaitForExit(kTerminateGrace))
        return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    status_ = 128 + SIGKILL;
}

std::string RunCommand(const std::string& commandLine) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(commandLine.c_str(), "r"), pclose);
    if (!pipe)
        throw Exception("Cannot run " + commandLine);
    std::string output;
    std::array<char, 4096> buffer;
    std::size_t count;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        output.append(buffer.data(), count);
    return output;
}

} // namespace quorvex::test_support
