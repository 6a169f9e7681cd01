#pragma once

#include "dictionaries/DictionarySource.h"
#include "dictionaries/EntryPage.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvex {
class TDictionaryPanel;
}

namespace quorvex::dictionaries {

inline constexpr const char* kClassicName = "classic";

// The sources in the order Dictionary/Order (QUORVEX_DICTIONARIES) names them, by default
// cedict, freedict, google, dict.
std::vector<std::string> DictionaryOrder();

// Every source name the settings and the command line know, classic included, in the default
// order.
std::vector<std::string> DictionarySourceNames();

// The source named `name`, with its settings as they are now; nullptr for a name that is none
// of the sources (classic is not one either: it shows its pages itself).
std::unique_ptr<DictionarySource> MakeDictionarySource(const std::string& name);

struct LookupOutcome {
    std::vector<Entry> Entries;         // the first source's entries that had any
    std::vector<FailedSource> Failures; // the sources that could not answer before it
};

// Asks the sources named, in order, skipping those that do not serve the pair; the first that
// has entries ends the lookup. A source that fails is noted and passed over.
LookupOutcome LookUpInOrder(const std::vector<std::string>& names, const std::string& word,
                            const TLanguagePair& pair);

// The page for an outcome: its entries, else the no-entry page with its failures.
std::string OutcomePage(const LookupOutcome& outcome);

// The window's lookup for the source text `word` under the pair of `pairCaption`. With
// QUORVEX_SEARCH_HOST set (or `onlySource` "classic") it is the classic lookup there, which shows
// its own pages (and its message box); a text GBK cannot hold is not sent to it at all. Otherwise
// the sources of DictionaryOrder (or `onlySource` alone) answer with a UTF-8 page. Returns
// whether an entry was shown.
bool ShowDictionaryLookup(const std::string& pairCaption, const std::string& word,
                          TDictionaryPanel& panel, const std::string& onlySource = {});

} // namespace quorvex::dictionaries
