#include "dictionaries/GoogleWordSource.h"

#include "http/FormEncoding.h"
#include "services/GoogleService.h"
#include "services/HttpTransport.h"
#include "services/LanguageCodes.h"
#include "services/TranslationService.h"
#include "settings/Settings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace quorvex::dictionaries {
namespace {

constexpr long kHttpOk = 200;
constexpr long kTooManyRequests = 429;
constexpr long kServiceUnavailable = 503;
constexpr int kDictionaryElement = 1;
constexpr int kDefinitionsElement = 12;
constexpr int kExamplesElement = 13;
// In the null-led segment of element 0: the transliteration of the source text.
constexpr int kSourceTransliteration = 3;
constexpr int kMostMeanings = 8;

std::string Text(const QJsonValue& value) {
    return value.toString().toStdString();
}

std::string Joined(const QJsonArray& items, std::string_view separator) {
    std::string joined;
    for (const QJsonValue& item : items)
        joined += (joined.empty() ? "" : std::string(separator)) + Text(item);
    return joined;
}

std::string SourceTransliteration(const QJsonArray& segments) {
    for (const QJsonValue& segment : segments) {
        const QJsonArray parts = segment.toArray();
        if (!parts.isEmpty() && parts[0].isNull())
            return Text(parts[kSourceTransliteration]);
    }
    return {};
}

// One group per part of speech: each term with its reverse translations.
void AddTranslations(const QJsonArray& groups, Entry& entry) {
    for (const QJsonValue& value : groups) {
        const QJsonArray group = value.toArray();
        SenseGroup senses{Text(group[0]), {}};
        for (const QJsonValue& termValue : group[2].toArray()) {
            const QJsonArray term = termValue.toArray();
            const std::string reverse = Joined(term[1].toArray(), ", ");
            senses.Meanings.push_back(Text(term[0]) +
                                      (reverse.empty() ? "" : " (" + reverse + ")"));
            if (senses.Meanings.size() == kMostMeanings)
                break;
        }
        if (senses.Meanings.empty())
            senses.Meanings.push_back(Joined(group[1].toArray(), ", "));
        if (entry.Headword.empty())
            entry.Headword = Text(group[3]);
        entry.Senses.push_back(std::move(senses));
    }
}

void AddDefinitions(const QJsonArray& groups, Entry& entry) {
    for (const QJsonValue& value : groups) {
        const QJsonArray group = value.toArray();
        SenseGroup senses{Text(group[0]) + " · 释义", {}};
        for (const QJsonValue& definition : group[1].toArray()) {
            senses.Meanings.push_back(Text(definition.toArray()[0]));
            if (senses.Meanings.size() == kMostMeanings)
                break;
        }
        entry.Senses.push_back(std::move(senses));
    }
}

// The examples come marked up with <b> around the word; the page shows text only.
void AddExamples(const QJsonArray& examples, Entry& entry) {
    static const QRegularExpression markup("<[^>]*>");
    for (const QJsonValue& example : examples.at(0).toArray())
        entry.Examples.push_back(example.toArray()[0].toString().remove(markup).toStdString());
}

} // namespace

std::string GoogleWordQuery(const std::string& url, const TLanguagePair& pair,
                            const std::string& word) {
    const auto languages = services::LanguagesFor(services::CodeSet::Google, pair);
    if (!languages)
        return {};
    return url + "/translate_a/single?client=gtx&sl=" + languages->Source +
           "&tl=" + languages->Target +
           "&dt=bd&dt=md&dt=ex&dt=rm&ie=UTF-8&oe=UTF-8&q=" + EncodeFormValue(word);
}

std::vector<Entry> ParseGoogleWordData(const std::string& reply, const std::string& word) {
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(reply));
    if (!document.isArray())
        throw SourceFailure("Google's reply is not the word data it should be");
    const QJsonArray data = document.array();
    Entry entry;
    AddTranslations(data[kDictionaryElement].toArray(), entry);
    AddDefinitions(data[kDefinitionsElement].toArray(), entry);
    if (entry.Senses.empty())
        return {};
    AddExamples(data[kExamplesElement].toArray(), entry);
    if (entry.Headword.empty())
        entry.Headword = word;
    entry.Pronunciation = SourceTransliteration(data[0].toArray());
    entry.Source = "Google";
    return {entry};
}

GoogleWordSource::GoogleWordSource()
    : GoogleWordSource(
          settings::Value("Google/Url", "QUORVEX_GOOGLE_URL", services::kGoogleDefaultUrl),
          services::DefaultTransport()) {}

GoogleWordSource::GoogleWordSource(std::string url, services::HttpTransport& transport)
    : url_(url.substr(0, url.find_last_not_of('/') + 1))
    , transport_(transport) {}

bool GoogleWordSource::Serves(const TLanguagePair& pair) const {
    const PairLanguages languages = LanguagesOf(pair);
    return !url_.empty() && !(IsChinese(languages.Source) && IsChinese(languages.Target)) &&
           services::LanguagesFor(services::CodeSet::Google, pair).has_value();
}

std::vector<Entry> GoogleWordSource::Lookup(const std::string& word, const TLanguagePair& pair) {
    services::HttpReply reply;
    try {
        reply = transport_.Get(GoogleWordQuery(url_, pair, word));
    } catch (const services::ServiceFailure& failure) {
        throw SourceFailure(failure.what());
    }
    if (reply.Status == kTooManyRequests || reply.Status == kServiceUnavailable ||
        reply.Body.starts_with('<'))
        throw SourceFailure("Google 暂时拒绝本机的请求 (HTTP " + std::to_string(reply.Status) +
                            ")");
    if (reply.Status != kHttpOk)
        throw SourceFailure("Google 回答了 HTTP " + std::to_string(reply.Status));
    return ParseGoogleWordData(reply.Body, word);
}

} // namespace quorvex::dictionaries
