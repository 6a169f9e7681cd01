#pragma once

namespace quorvex {

// At the program's start, before any file of a release is loaded: completes the swap of files a
// killed replacer left half done and, when that moved any file, runs the program again from
// its file (the process may be the old program). `argv` is main's.
void CompleteInterruptedUpgrade(char** argv);

// Once the program has come up: the files an upgrade kept to put back are not needed any more,
// and the replacer watching the restart sees that the new program started.
void ForgetReplacedFiles();

} // namespace quorvex
