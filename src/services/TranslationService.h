#pragma once

#include "platform/Exception.h"
#include "translate/LanguagePairs.h"

#include <string>

namespace quorvex::services {

// A service's refusal or failure to translate; the message is the reason, for a person to read.
class ServiceFailure : public Exception {
public:
    using Exception::Exception;
};

// One translation service: turns (language pair, source text) into the translated text.
class TranslationService {
public:
    virtual ~TranslationService() = default;

    // The name the settings and the command line use ("google", "opencc", ...).
    virtual std::string Name() const = 0;
    // The short name a person reads ("谷歌翻译"); the settings name where there is none.
    virtual std::string DisplayName() const { return Name(); }
    // Whether the service translates this pair at all.
    virtual bool Serves(const TLanguagePair& pair) const = 0;
    // Whether the service has what it needs to be asked: its settings, or its installed engine.
    virtual bool Configured() const = 0;
    // The translation of the UTF-8 `text`; throws ServiceFailure with the reason.
    virtual std::string Translate(const TLanguagePair& pair, const std::string& text) = 0;
};

} // namespace quorvex::services
