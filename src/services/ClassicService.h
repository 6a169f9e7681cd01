#pragma once

#include "services/TranslationService.h"

namespace quorvex::services {

// The window's first service, kept as it was built: the form POST to /translate_t at the host
// QUORVEX_TRANSLATE_HOST names, the translation cut out between its two markers.
class ClassicService final : public TranslationService {
public:
    std::string Name() const override { return "classic"; }
    bool Serves(const TLanguagePair&) const override { return true; }
    bool Configured() const override { return true; }
    std::string Translate(const TLanguagePair& pair, const std::string& text) override;
};

} // namespace quorvex::services
