#pragma once

#include "services/WebService.h"

namespace quorvex::services {

inline constexpr const char* kGoogleDefaultUrl = "https://translate.googleapis.com";
// The longest text one request carries; a longer one goes in pieces.
inline constexpr size_t kGooglePieceCharacters = 5000;
// The longest query a GET carries; a longer one goes as a form POST.
inline constexpr size_t kGoogleLongestGetQuery = 2000;

// The public web endpoint of Google Translate that maintained clients use (unofficial: it may
// refuse a machine for a while). Settings: Google/Url.
class GoogleService : public WebService {
public:
    explicit GoogleService(HttpTransport& transport = DefaultTransport());

    std::string Name() const override { return "google"; }
    std::string DisplayName() const override { return "谷歌翻译"; }
    bool Configured() const override { return true; }
    std::string Translate(const TLanguagePair& pair, const std::string& text) override;

private:
    std::string TranslatePiece(const std::string& endpoint, const ServiceLanguages& languages,
                               const std::string& piece);
};

} // namespace quorvex::services
