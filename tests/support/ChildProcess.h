#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quorvex::test_support {

// A program started by a test, killed when the object goes away if it still runs.
class ChildProcess {
public:
    // Starts `argv[0]` (searched on PATH) with the test's environment plus `environment`
    // ("NAME=value" entries, overriding).
    ChildProcess(const std::vector<std::string>& argv,
                 const std::vector<std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Running();
    // The exit status once the program ended within `limit`; nothing while it still runs.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);
    void Kill();
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Runs a command line through the shell and returns its standard output.
std::string RunCommand(const std::string& commandLine);

} // namespace quorvex::test_support
