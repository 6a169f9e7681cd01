#pragma once

#include "platform/Exception.h"
#include "translate/LanguagePairs.h"

#include <string>
#include <vector>

namespace quorvex::dictionaries {

// The meanings an entry gives for one part of speech (empty when the source names none).
struct SenseGroup {
    std::string PartOfSpeech;
    std::vector<std::string> Meanings;
};

// One dictionary entry, all texts UTF-8 and unescaped, as the source gave them.
struct Entry {
    std::string Headword;
    std::string Pronunciation;
    std::vector<SenseGroup> Senses;
    std::vector<std::string> Examples;
    std::string Source; // the source's own name, with its licence where it asks to be named
};

// A source that could not answer (not reachable, its file unreadable); the message is the
// reason, for a person to read.
class SourceFailure : public Exception {
public:
    using Exception::Exception;
};

// One place to look words up in: turns (word, language pair) into entries.
class DictionarySource {
public:
    virtual ~DictionarySource() = default;

    // The name the settings and the command line use ("cedict", "freedict", ...).
    virtual std::string Name() const = 0;
    // Whether the source has what it needs for this pair: its data file or its server.
    virtual bool Serves(const TLanguagePair& pair) const = 0;
    // The entries for the UTF-8 `word`, best first; none when the source has no entry. Throws
    // SourceFailure when the source cannot be asked.
    virtual std::vector<Entry> Lookup(const std::string& word, const TLanguagePair& pair) = 0;
};

// The two languages of a pair's code ("en|zh-CN" gives "en" and "zh-CN").
struct PairLanguages {
    std::string Source;
    std::string Target;
};
PairLanguages LanguagesOf(const TLanguagePair& pair);

// True for the codes of Chinese ("zh", "zh-CN", "zh-TW").
bool IsChinese(const std::string& language);

} // namespace quorvex::dictionaries
