#pragma once

#include "dictionaries/DictionarySource.h"

namespace quorvex::services {
class HttpTransport;
}

namespace quorvex::dictionaries {

// The query of the word data of Google's public translation endpoint for `word`: its
// dictionary (dt=bd), definitions (md), examples (ex) and transliteration (rm); empty when
// Google has no codes for the pair.
std::string GoogleWordQuery(const std::string& url, const TLanguagePair& pair,
                            const std::string& word);

// The entry in a reply to that query: element 1 lists [part of speech, [terms], [[term,
// [reverse translations]], ...], base form], element 12 the definitions, element 13 the
// examples; the transliteration is in the segment of element 0 whose first element is null.
// None when the reply holds no dictionary data; throws SourceFailure for a reply of another form.
std::vector<Entry> ParseGoogleWordData(const std::string& reply, const std::string& word);

// Google's word data, at the url of the google translation service (Google/Url,
// QUORVEX_GOOGLE_URL), through the services' HTTPS transport.
class GoogleWordSource final : public DictionarySource {
public:
    GoogleWordSource();
    GoogleWordSource(std::string url, services::HttpTransport& transport);

    std::string Name() const override { return "google"; }
    bool Serves(const TLanguagePair& pair) const override;
    std::vector<Entry> Lookup(const std::string& word, const TLanguagePair& pair) override;

private:
    std::string url_;
    services::HttpTransport& transport_;
};

} // namespace quorvex::dictionaries
