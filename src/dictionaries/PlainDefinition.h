#pragma once

#include "dictionaries/DictionarySource.h"

#include <string>
#include <string_view>

namespace quorvex::dictionaries {

// An entry from a definition in the plain-text form of dictd databases (FreeDict, DICT
// servers): the first line holds the headword, its pronunciation between slashes and its part
// of speech between angle brackets; "[tags]" before the headword are dropped. Each further line
// is a meaning ("1. " numbering dropped); a line that is wholly in parentheses starts the
// meanings of the part of speech it names. `word` stands in for a headword the text lacks.
Entry ParsePlainDefinition(std::string_view text, const std::string& word);

} // namespace quorvex::dictionaries
