#pragma once

#include "services/TranslationService.h"

#include <chrono>

namespace quorvex::services {

// The longest an Apertium run may take before it is given up.
inline constexpr std::chrono::milliseconds kApertiumLimit{30000};

// Offline English to Spanish with Debian's apertium and apertium-eng-spa, run as a program
// with the text on its standard input. Unavailable unless both are installed.
class ApertiumService : public TranslationService {
public:
    std::string Name() const override { return "apertium"; }
    std::string DisplayName() const override { return "Apertium 离线翻译"; }
    bool Serves(const TLanguagePair& pair) const override;
    bool Configured() const override;
    std::string Translate(const TLanguagePair& pair, const std::string& text) override;
};

} // namespace quorvex::services
