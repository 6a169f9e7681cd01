#pragma once

#include "translate/Strings.h"

#include <string>

namespace quorvex::services {

// True when QUORVEX_TRANSLATE_HOST names the classic service's host: then it is the only one.
bool ClassicServiceOnly();

// Translates `sourceText` for the pair captioned `pairCaption` as the window does, and writes
// the result lines as the seed's request did: cleared and the translation, or the line "Error"
// added below what they hold. With QUORVEX_TRANSLATE_HOST set that request is all there is
// (the classic service, exactly as built); otherwise the chain of the settings is asked, and
// on failure the lines are told each service tried and its reason (success clears that).
// Processes messages while it waits; a request given up because the window closes leaves the
// lines as they are. Never raises.
void TranslateThroughServices(const std::string& pairCaption, const std::string& sourceText,
                              TStrings& resultLines);

} // namespace quorvex::services
