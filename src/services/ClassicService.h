#pragma once

#include "services/TranslationService.h"

namespace quorvex::services {

// Its name: only QUORVEX_TRANSLATE_HOST or quorvex-translate --service selects it.
inline constexpr const char* kClassicService = "classic";

// The window's first service, kept as it was built: the form POST to /translate_t at the host
// QUORVEX_TRANSLATE_HOST names, the translation cut out between its two markers.
class ClassicService final : public TranslationService {
public:
    std::string Name() const override { return kClassicService; }
    std::string DisplayName() const override { return "经典网页翻译"; }
    bool Serves(const TLanguagePair&) const override { return true; }
    bool Configured() const override { return true; }
    std::string Translate(const TLanguagePair& pair, const std::string& text) override;
};

} // namespace quorvex::services
