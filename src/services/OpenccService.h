#pragma once

#include "platform/ChineseScript.h"
#include "services/TranslationService.h"

#include <memory>

namespace quorvex::services {

// Offline conversion between the Chinese scripts with OpenCC: Simplified to Traditional with
// Taiwan's vocabulary and phrases (鼠标 → 滑鼠), and back. Instant, exact and private.
class OpenccService : public TranslationService {
public:
    std::string Name() const override { return "opencc"; }
    std::string DisplayName() const override { return "OpenCC 简繁转换"; }
    bool Serves(const TLanguagePair& pair) const override;
    bool Configured() const override;
    std::string Translate(const TLanguagePair& pair, const std::string& text) override;

private:
    // Each direction's dictionaries load on its first use and serve every later text.
    std::unique_ptr<platform::ChineseScriptConverter> toTraditional_;
    std::unique_ptr<platform::ChineseScriptConverter> toSimplified_;
};

} // namespace quorvex::services
