#include "app/TranslationServices.h"

#include "dictionaries/DictionaryLookup.h"
#include "services/WindowTranslation.h"

namespace quorvex {

void TOnlineServices::TranslateText(const std::string& pairCaption, const std::string& sourceText,
                                    TStrings& resultLines) {
    services::TranslateThroughServices(pairCaption, sourceText, resultLines);
}

void TOnlineServices::LookupDictionary(const std::string& pairCaption, const std::string& word,
                                       TDictionaryPanel& panel) {
    dictionaries::ShowDictionaryLookup(pairCaption, word, panel);
}

} // namespace quorvex
