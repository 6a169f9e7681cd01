#pragma once

#include "dictionaries/DictionarySource.h"

namespace quorvex::dictionaries {

// A DICT server (RFC 2229): the setting Dictionary/DictServer (QUORVEX_DICT_SERVER), "host" or
// "host:port"; none by default. Dictionary/DictDatabase (QUORVEX_DICT_DATABASE) names the
// database, else "!": the first that has the word.
class DictServerSource final : public DictionarySource {
public:
    DictServerSource();
    DictServerSource(std::string server, std::string database);

    std::string Name() const override { return "dict"; }
    bool Serves(const TLanguagePair& pair) const override;
    std::vector<Entry> Lookup(const std::string& word, const TLanguagePair& pair) override;

private:
    std::string server_;
    std::string database_;
};

} // namespace quorvex::dictionaries
