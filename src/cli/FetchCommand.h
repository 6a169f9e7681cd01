#pragma once

#include "cli/FetchOptions.h"

namespace quorvex::cli {

// Runs one download as the options say on a Qt application that must exist; shows progress
// on standard error, ends with the outcome line there, and returns the exit status (0 only for
// a completed transfer).
int RunFetch(const FetchOptions& options);

} // namespace quorvex::cli
