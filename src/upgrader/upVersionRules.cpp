#include "upgrader/upVersionRules.h"

#include "download/upUtils.h"
#include "upgrader/upUpdateInfo.h"
#include "upgrader/upVersionDate.h"

namespace quorvex {

TupProgramVersion::TupProgramVersion()
    : VersionDate(FormatVersionDate(VersionToday())) {}

bool TupProgramVersion::IsNewer(std::string_view Text) const {
    if (VersionControl == TupVersionControl::byNumber)
        return VersionCompare(InfoValue(Text, "version", false), VersionNumber) > 0;
    return ParseVersionDate(VersionDate) < ParseVersionDate(InfoValue(Text, "date", false));
}

} // namespace quorvex
