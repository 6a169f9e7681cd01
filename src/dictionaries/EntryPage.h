#pragma once

#include "dictionaries/DictionarySource.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex::dictionaries {

// A source that could not answer, and why.
struct FailedSource {
    std::string Source;
    std::string Reason;
};

// `text` with &, <, >, " and ' written as character references.
std::string HtmlEscaped(std::string_view text);

// The pages the web panel shows for the dictionary sources, UTF-8 and declared so, made for the
// 480-pixel panel: the classic page header first, then the entries (every text escaped), then the
// names of the sources at the bottom.
std::string EntriesPage(const std::vector<Entry>& entries);

// The page for a word no source has: the header and the classic no-entry text, followed by the
// sources that failed and why, when any did.
std::string NoEntryPage(const std::vector<FailedSource>& failures);

} // namespace quorvex::dictionaries
