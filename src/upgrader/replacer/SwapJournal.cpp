#include "upgrader/replacer/SwapJournal.h"

#include "platform/File.h"
#include "platform/FileReplace.h"
#include "upgrader/replacer/ReplacerCommand.h"

namespace quorvex::replacer {
namespace {

inline constexpr std::string_view kJournalSuffix = ".uSWAP";
inline constexpr std::string_view kKeptSuffix = ".uOLD";
// Names are separated by a zero byte, the one byte no file name holds.
inline constexpr char kSeparator = '\0';

std::vector<std::string> KeptFiles(const std::string& folder) {
    std::vector<std::string> kept;
    for (std::string& name : platform::FileNamesIn(folder))
        if (name.size() > kKeptSuffix.size() && name.ends_with(kKeptSuffix))
            kept.push_back(std::move(name));
    return kept;
}

std::vector<TSwapMove> ReadSwapJournal(const std::string& journal) {
    std::vector<TSwapMove> moves;
    const std::optional<std::string> text = platform::ReadFileWhole(journal);
    if (!text)
        return moves;
    std::vector<std::string> names;
    for (std::size_t start = 0, end = 0; (end = text->find(kSeparator, start)) != std::string::npos;
         start = end + 1)
        names.push_back(text->substr(start, end - start));
    for (std::size_t i = 0; i + 1 < names.size(); i += 2)
        moves.push_back({names[i], names[i + 1]});
    return moves;
}

void TellFailure(std::ostream& report, const std::string& what) {
    const std::string reason = platform::SystemErrorText();
    report << "QvReplacer: " << what << ": " << reason << "\n";
}

} // namespace

std::string SwapJournalPath(const std::string& programPath) {
    return programPath + std::string(kJournalSuffix);
}

bool WriteSwapJournal(const std::string& programPath, const std::vector<TSwapMove>& moves) {
    std::string text;
    for (const TSwapMove& move : moves)
        text += move.Download + kSeparator + move.Target + kSeparator;
    return platform::WriteFileWhole(SwapJournalPath(programPath), text);
}

void SwapIn(const std::string& folder, const TSwapMove& move, std::ostream& report) {
    const std::string source = folder + move.Download;
    const std::string target = folder + move.Target;
    if (platform::FileExists(target) && !platform::IsLink(target) &&
        !platform::KeepCopyAs(target, target + std::string(kKeptSuffix)))
        TellFailure(report, "cannot keep " + target + " to put it back if need be");
    // One rename, never a delete first: if the replacer dies here the target is whole.
    if (!platform::MoveFileOver(source, target))
        TellFailure(report, "cannot move " + source + " over " + target);
}

bool HasReplacedFiles(const std::string& folder) {
    return !KeptFiles(folder).empty();
}

void ForgetReplacedFiles(const std::string& folder) {
    for (const std::string& name : KeptFiles(folder))
        platform::DeleteFile(folder + name);
}

void PutBackReplacedFiles(const std::string& folder, std::ostream& report) {
    for (const std::string& name : KeptFiles(folder)) {
        const std::string target = folder + name.substr(0, name.size() - kKeptSuffix.size());
        if (!platform::MoveFileOver(folder + name, target))
            TellFailure(report, "cannot put " + target + " back");
    }
}

bool CompleteInterruptedSwap(const std::string& programPath, std::ostream& report) {
    const std::string journal = SwapJournalPath(programPath);
    const std::string folder = FolderOf(programPath);
    bool moved = false;
    for (const TSwapMove& move : ReadSwapJournal(journal)) {
        // A name with a "/" never came from the replacer: nothing outside the folder moves.
        if (move.Download.find('/') != std::string::npos ||
            move.Target.find('/') != std::string::npos ||
            !platform::FileExists(folder + move.Download) ||
            platform::IsLink(folder + move.Download))
            continue;
        SwapIn(folder, move, report);
        moved = true;
    }
    platform::DeleteFile(journal);
    return moved;
}

} // namespace quorvex::replacer
