#include "translate/LanguagePairs.h"

#include <algorithm>

namespace quorvex {

const TLanguagePair* PairForCaption(const std::string& caption) {
    const auto found =
        std::find_if(kLanguagePairs.begin(), kLanguagePairs.end(),
                     [&](const TLanguagePair& pair) { return pair.Caption == caption; });
    return found == kLanguagePairs.end() ? nullptr : &*found;
}

std::string LanguageCodeForCaption(const std::string& caption) {
    const TLanguagePair* pair = PairForCaption(caption);
    return pair != nullptr ? std::string(pair->Code) : std::string();
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
