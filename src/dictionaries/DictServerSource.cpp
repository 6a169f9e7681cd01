#include "dictionaries/DictServerSource.h"

#include "dictionaries/DictClient.h"
#include "dictionaries/PlainDefinition.h"
#include "settings/Settings.h"

namespace quorvex::dictionaries {
namespace {

constexpr std::size_t kMostEntries = 6;
constexpr const char* kFirstDatabaseWithTheWord = "!";

} // namespace

DictServerSource::DictServerSource()
    : DictServerSource(settings::Value("Dictionary/DictServer", "QUORVEX_DICT_SERVER"),
                       settings::Value("Dictionary/DictDatabase", "QUORVEX_DICT_DATABASE",
                                       kFirstDatabaseWithTheWord)) {}

DictServerSource::DictServerSource(std::string server, std::string database)
    : server_(std::move(server))
    , database_(std::move(database)) {}

bool DictServerSource::Serves(const TLanguagePair&) const {
    return !server_.empty();
}

std::vector<Entry> DictServerSource::Lookup(const std::string& word, const TLanguagePair&) {
    std::vector<Entry> entries;
    for (const DictDefinition& definition : DefineOnServer(server_, database_, word)) {
        if (entries.size() == kMostEntries)
            break;
        entries.push_back(ParsePlainDefinition(definition.Text, word));
        entries.back().Source =
            "DICT " + server_ + ": " +
            (definition.Description.empty() ? definition.Database : definition.Description);
    }
    return entries;
}

} // namespace quorvex::dictionaries
