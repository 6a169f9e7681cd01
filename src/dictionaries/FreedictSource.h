#pragma once

#include "dictionaries/DictionarySource.h"

#include <optional>

namespace quorvex::dictionaries {

inline constexpr const char* kDefaultDictFolder = "/usr/share/dictd";

// The folders searched for dictd databases: QUORVEX_DICT_DIRS (or the setting
// Dictionary/DictDirs), colon-separated, else /usr/share/dictd.
std::vector<std::string> DictFolders();

// The FreeDict database name for a pair ("freedict-eng-spa" for "en|es"); empty when a
// language has no FreeDict code.
std::string FreedictName(const TLanguagePair& pair);

// The FreeDict dictionaries installed as dictd databases ("freedict-eng-spa.index" and
// ".dict.dz" or ".dict"), read directly: one per language pair.
class FreedictSource final : public DictionarySource {
public:
    explicit FreedictSource(std::vector<std::string> folders = DictFolders());

    std::string Name() const override { return "freedict"; }
    bool Serves(const TLanguagePair& pair) const override;
    std::vector<Entry> Lookup(const std::string& word, const TLanguagePair& pair) override;

private:
    struct Files {
        std::string Index;
        std::string Data;
    };
    std::optional<Files> FilesFor(const TLanguagePair& pair) const;

    std::vector<std::string> folders_;
};

} // namespace quorvex::dictionaries
