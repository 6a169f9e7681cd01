#pragma once

#include <string>
#include <string_view>

namespace quorvex {

// Which announcement of the information file decides whether a release is newer.
enum class TupVersionControl { byDate, byNumber };

// The running program's own version and the rule it is compared by; the controller keeps one.
class TupProgramVersion {
public:
    // VersionDate is today's date and VersionDateAutoSet true, as for a new controller.
    TupProgramVersion();

    TupVersionControl VersionControl = TupVersionControl::byDate;
    std::string VersionNumber;
    // Month/day/year, as the "date" key of the information file writes it.
    std::string VersionDate;

    bool VersionDateAutoSet() const { return versionDateAutoSet_; }
    // Refreshing VersionDate belongs to a form designer; a running program only keeps the flag.
    void SetVersionDateAutoSet(bool Value) { versionDateAutoSet_ = Value; }

    // Whether the information file Text announces a newer release than this program: a higher
    // "version" under byNumber, a strictly later "date" under byDate.
    bool IsNewer(std::string_view Text) const;

private:
    bool versionDateAutoSet_ = true;
};

} // namespace quorvex
