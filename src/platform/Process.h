#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quorvex::platform {

// A process's id.
using ProcessId = pid_t;

// Descriptors a child gets as its standard input, output and error; -1 keeps the caller's.
struct StandardStreams {
    int Input = -1;
    int Output = -1;
    int Error = -1;
};

// Starts `program` with the argument vector `arguments` (argv[0] included); no shell is
// involved. The child starts clean whatever the caller inherited: no blocked signals, default
// signal actions and no descriptors but standard input, output and error (`streams` where
// given). Throws Exception when the program cannot be started.
ProcessId StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const StandardStreams& streams = {});

// Waits, with no time limit, for the child `process` to end: its exit status, or 128 plus the
// number of the signal that ended it.
int WaitForChild(ProcessId process);

// The exit status (as WaitForChild gives it) of the child `process` once it has ended; nullopt
// while it still runs. Does not wait.
std::optional<int> ChildStatusIfEnded(ProcessId process);

// Runs `program` in place of the calling process with `arguments` (argv[0] included); returns
// only when that fails.
void ReplaceProcess(const std::string& program, const std::vector<std::string>& arguments);

// Closes every descriptor above standard error that the process was started with.
void CloseInheritedDescriptors();

} // namespace quorvex::platform
