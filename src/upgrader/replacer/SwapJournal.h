#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvex::replacer {

// One file of an upgrade: the download and the file it replaces, both names within the
// program's folder.
struct TSwapMove {
    std::string Download;
    std::string Target;
};

// The journal of a swap: written before the first rename and deleted after the last, so that
// a replacer killed in between leaves a record the program's next start completes from.
std::string SwapJournalPath(const std::string& programPath);
bool WriteSwapJournal(const std::string& programPath, const std::vector<TSwapMove>& moves);

// Moves the download over its target in one rename, keeping the target first as
// "TARGET.uOLD" until the new program has come up. Failures are told to `report`.
void SwapIn(const std::string& folder, const TSwapMove& move, std::ostream& report);

// The files kept by the last swap ("*.uOLD") in `folder`.
bool HasReplacedFiles(const std::string& folder);
// Deletes them: the program they belonged to is not needed any more.
void ForgetReplacedFiles(const std::string& folder);
// Moves each back over the file that replaced it.
void PutBackReplacedFiles(const std::string& folder, std::ostream& report);

// At the program's start: completes the swap a killed replacer left half done, so that no new
// program runs beside old files of the same release. True when it moved any file, so that the
// running program (perhaps the old one) should start again.
bool CompleteInterruptedSwap(const std::string& programPath, std::ostream& report);

} // namespace quorvex::replacer
