#pragma once

#include "translate/Strings.h"

#include <string>

namespace quorvex {

// The two markers the translation stands between in the service's reply page.
inline constexpr std::string_view kResultStartMarker = "<div id=result_box dir=\"ltr\">";
inline constexpr std::string_view kResultEndMarker = "</div></td></tr><tr><td class=submitcell>";
inline constexpr std::string_view kTranslatePath = "/translate_t";
inline constexpr std::string_view kErrorLine = "Error";

// Posts `sourceText` for the pair captioned `pairCaption` to the translation service and writes
// the translation into `resultLines` (cleared first), or on any failure the line "Error" alone.
// Processes messages while it waits; never raises.
void TranslateText(const std::string& pairCaption, const std::string& sourceText,
                   TStrings& resultLines);

// The text between the start and the end marker of `page`, with the clamping rules of a
// 1-based substring: no start marker cuts from position 29, no end marker gives nothing.
std::string ExtractTranslation(const std::string& page);

// `body` when it is well-formed UTF-8 up to its multi-byte sequences; empty when one breaks off.
std::string DecodeUtf8Page(const std::string& body);

} // namespace quorvex
