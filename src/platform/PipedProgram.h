#pragma once

#include "platform/Socket.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvex::platform {

// What a program run to its end left behind.
struct ProgramOutcome {
    int ExitStatus = 0; // or 128 plus the number of the signal that ended it
    std::string Output;
    std::string ErrorOutput;
};

// Runs `program` (a path) with the argument vector `arguments` (argv[0] included, no shell),
// `input` on its standard input, and collects its standard output and error, waiting in
// `steps` (so a window stays alive). Throws Exception when it cannot be started, and when it
// has not ended within `limit`; the child is killed then, and when a step throws.
ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& input, Milliseconds limit, const StepWait& steps = {});

// The path of the executable `name` in the folders of PATH; nothing when none has it.
std::optional<std::string> FindProgram(const std::string& name);

} // namespace quorvex::platform
