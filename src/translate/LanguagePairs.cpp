#include "translate/LanguagePairs.h"

#include <algorithm>

namespace quorvex {

std::string LanguageCodeForCaption(const std::string& caption) {
    for (const TLanguagePair& pair : kLanguagePairs) {
        if (pair.Caption == caption)
            return std::string(pair.Code);
    }
    return {};
}

std::vector<std::string> ComboBoxCaptions() {
    std::vector<const TLanguagePair*> offered;
    for (const TLanguagePair& pair : kLanguagePairs) {
        if (pair.ComboBoxItem != kNotOffered)
            offered.push_back(&pair);
    }
    std::sort(offered.begin(), offered.end(), [](const TLanguagePair* a, const TLanguagePair* b) {
        return a->ComboBoxItem < b->ComboBoxItem;
    });
    std::vector<std::string> captions;
    for (const TLanguagePair* pair : offered)
        captions.emplace_back(pair->Caption);
    return captions;
}

} // namespace quorvex
