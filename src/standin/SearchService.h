#pragma once

#include "standin/Router.h"

#include <string>

namespace quorvex {

// Serves GET /s like the web search's dictionary: the query key wd holds the word as
// percent-encoded GBK bytes; the reply is a GBK page with the dictionary markers around an
// entry for a word of the glossary, and the no-entry marker for any other word.
void AddSearchService(TRouter& router);

// The search page (UTF-8) for `word` (UTF-8).
std::string SearchPage(const std::string& word);

} // namespace quorvex
