#pragma once

#include "services/HttpTransport.h"
#include "services/LanguageCodes.h"
#include "services/TranslationService.h"

#include <QJsonDocument>

namespace quorvex::services {

inline constexpr long kHttpOk = 200;

// What the web services share: a transport, a base URL from the settings and the language
// codes of their own.
class WebService : public TranslationService {
public:
    WebService(HttpTransport& transport, CodeSet codes);

    bool Serves(const TLanguagePair& pair) const override;

protected:
    // The pair in the service's codes; ServiceFailure when it serves no such pair.
    ServiceLanguages Languages(const TLanguagePair& pair) const;
    // The settings value `key` (environment `override` first) without a trailing "/".
    static std::string BaseUrl(const std::string& key, const char* override,
                               const std::string& fallback = {});

    HttpTransport& transport_;

private:
    CodeSet codes_;
};

// "HTTP 429", for reasons.
std::string StatusText(long status);

// The JSON body of a reply; ServiceFailure saying what came instead when it is none.
QJsonDocument JsonOf(const HttpReply& reply);

} // namespace quorvex::services
