#pragma once

#include "services/WebService.h"

namespace quorvex::services {

// A LibreTranslate server (open source, self-hostable). It has no default address: public
// instances want a key. Settings: LibreTranslate/Url, LibreTranslate/Key.
class LibreTranslateService : public WebService {
public:
    explicit LibreTranslateService(HttpTransport& transport = DefaultTransport());

    std::string Name() const override { return "libretranslate"; }
    std::string DisplayName() const override { return "LibreTranslate"; }
    bool Configured() const override;
    std::string Translate(const TLanguagePair& pair, const std::string& text) override;
};

} // namespace quorvex::services
