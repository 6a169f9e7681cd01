#pragma once

#include "translate/Dictionary.h"
#include "translate/Strings.h"

#include <string>

namespace quorvex {

// What the main window asks of the translation services: a seam, so the window's triggers
// can be tested without a network.
class TTranslationServices {
public:
    virtual ~TTranslationServices() = default;
    virtual void TranslateText(const std::string& pairCaption, const std::string& sourceText,
                               TStrings& resultLines) = 0;
    virtual void LookupDictionary(const std::string& pairCaption, const std::string& word,
                                  TDictionaryPanel& panel) = 0;
};

// The translation services of the settings (only the classic one when QUORVEX_TRANSLATE_HOST
// names its host) and the dictionary lookup on the network.
class TOnlineServices final : public TTranslationServices {
public:
    void TranslateText(const std::string& pairCaption, const std::string& sourceText,
                       TStrings& resultLines) override;
    // The dictionary sources in their order, or the classic lookup where the settings ask for it.
    void LookupDictionary(const std::string& pairCaption, const std::string& word,
                          TDictionaryPanel& panel) override;
};

} // namespace quorvex
