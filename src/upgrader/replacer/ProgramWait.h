#pragma once

#include <chrono>
#include <string>

namespace quorvex::replacer {

// Waits, with no time limit, until the executable file `path` is no longer busy: it opens for
// writing, or fails to for any reason other than being the image of a running program. Tries
// every millisecond at the lowest priority.
void WaitUntilFree(const std::string& path);

// Waits until the program `exePath` has ended: its process, when it is the one that started
// the replacer (its file is not busy when it is a script), and then its file, for at most a
// minute. False when the file was still busy then: some other process runs it.
bool WaitForProgramEnd(const std::string& exePath);

// How long a restarted program must run (or else say that it started) for its upgrade to
// count as good: five seconds.
std::chrono::milliseconds ComeUpLimit();

} // namespace quorvex::replacer
