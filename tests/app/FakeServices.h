#pragma once

#include "app/TranslationServices.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace quorvex::test_support {

// Translation services that record their calls and answer at once; a test can run code
// "while the request waits", as the real services let the window handle events then.
class TFakeServices final : public TTranslationServices {
public:
    struct TCall {
        std::string Pair;
        std::string Text;
    };

    void TranslateText(const std::string& pairCaption, const std::string& sourceText,
                       TStrings& resultLines) override {
        Translations.push_back({pairCaption, sourceText});
        ++depth_;
        MaxDepth = std::max(MaxDepth, depth_);
        if (WhileTranslating) {
            const auto whileTranslating = std::move(WhileTranslating);
            WhileTranslating = nullptr;
            whileTranslating();
        }
        --depth_;
        resultLines.Clear();
        resultLines.Add("T:" + sourceText);
    }

    void LookupDictionary(const std::string&, const std::string& word,
                          TDictionaryPanel& panel) override {
        Lookups.push_back(word);
        if (OnLookup)
            OnLookup(panel);
    }

    std::vector<TCall> Translations;
    std::vector<std::string> Lookups;
    std::function<void()> WhileTranslating;
    std::function<void(TDictionaryPanel&)> OnLookup;
    int MaxDepth = 0;

private:
    int depth_ = 0;
};

} // namespace quorvex::test_support
