#include "dictionaries/DictionaryLookup.h"

#include "dictionaries/CedictSource.h"
#include "dictionaries/DictServerSource.h"
#include "dictionaries/FreedictSource.h"
#include "dictionaries/GoogleWordSource.h"
#include "platform/Environment.h"
#include "platform/TextCodec.h"
#include "settings/Settings.h"
#include "translate/Dictionary.h"
#include "translate/ServiceHosts.h"

#include <algorithm>
#include <functional>

namespace quorvex::dictionaries {
namespace {

const std::vector<std::string> kDefaultOrder{"cedict", "freedict", "google", "dict"};

struct NamedFactory {
    const char* Name;
    std::function<std::unique_ptr<DictionarySource>()> Make;
};

const std::vector<NamedFactory>& Factories() {
    static const std::vector<NamedFactory> factories{
        {"cedict", [] { return std::make_unique<CedictSource>(); }},
        {"freedict", [] { return std::make_unique<FreedictSource>(); }},
        {"google", [] { return std::make_unique<GoogleWordSource>(); }},
        {"dict", [] { return std::make_unique<DictServerSource>(); }},
    };
    return factories;
}

// The row whose caption is `caption`; a caption of no row gets the row the window would choose
// for the text's script.
const TLanguagePair& PairForCaption(const std::string& caption, const std::string& word) {
    const auto row =
        std::find_if(kLanguagePairs.begin(), kLanguagePairs.end(),
                     [&](const TLanguagePair& pair) { return pair.Caption == caption; });
    if (row != kLanguagePairs.end())
        return *row;
    const bool nonAscii = std::any_of(word.begin(), word.end(),
                                      [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return kLanguagePairs[nonAscii ? 1 : 0];
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Passes everything on to the panel, noting whether a page reached it: the classic lookup shows
// nothing for an entry whose end it cannot find.
class ShownPageWatch final : public TDictionaryPanel {
public:
    explicit ShownPageWatch(TDictionaryPanel& panel)
        : panel_(panel) {}
    void ShowHtmlInPanel(const std::string& html) override {
        panel_.ShowHtmlInPanel(html);
        Shown = true;
    }
    void ShowUtf8HtmlInPanel(const std::string& html) override {
        panel_.ShowUtf8HtmlInPanel(html);
        Shown = true;
    }
    void ShowMessage(const std::string& text) override { panel_.ShowMessage(text); }
    bool Shown = false;

private:
    TDictionaryPanel& panel_;
};

bool ClassicChosen(const std::string& onlySource) {
    return onlySource == kClassicName ||
           (onlySource.empty() && !platform::EnvironmentOr("QUORVEX_SEARCH_HOST").empty());
}

} // namespace

std::vector<std::string> DictionaryOrder() {
    return settings::ListValue("Dictionary/Order", "QUORVEX_DICTIONARIES", kDefaultOrder);
}

std::vector<std::string> DictionarySourceNames() {
    std::vector<std::string> names = kDefaultOrder;
    names.push_back(kClassicName);
    return names;
}

std::unique_ptr<DictionarySource> MakeDictionarySource(const std::string& name) {
    for (const NamedFactory& factory : Factories()) {
        if (name == factory.Name)
            return factory.Make();
    }
    return nullptr;
}

LookupOutcome LookUpInOrder(const std::vector<std::string>& names, const std::string& word,
                            const TLanguagePair& pair) {
    LookupOutcome outcome;
    for (const std::string& name : names) {
        const std::unique_ptr<DictionarySource> source = MakeDictionarySource(name);
        if (!source) {
            outcome.Failures.push_back({name, "没有这个词典来源 (no such dictionary source)"});
            continue;
        }
        if (!source->Serves(pair))
            continue;
        try {
            outcome.Entries = source->Lookup(word, pair);
        } catch (const SourceFailure& failure) {
            outcome.Failures.push_back({name, failure.what()});
        }
        if (!outcome.Entries.empty())
            break;
    }
    return outcome;
}

std::string OutcomePage(const LookupOutcome& outcome) {
    return outcome.Entries.empty() ? NoEntryPage(outcome.Failures) : EntriesPage(outcome.Entries);
}

bool ShowDictionaryLookup(const std::string& pairCaption, const std::string& word,
                          TDictionaryPanel& panel, const std::string& onlySource) {
    if (ClassicChosen(onlySource)) {
        // The classic search takes GBK bytes: a character GBK lacks would travel as "?".
        if (!platform::GbkHoldsAll(word))
            return false;
        ShownPageWatch watch(panel);
        return ShowDictionaryEntry(ReadServiceHosts().Search, word, watch) ==
                   TDictionaryEntry::dkEntry &&
               watch.Shown;
    }
    const std::string trimmed = Trimmed(word);
    if (trimmed.empty())
        return false; // blanks alone: there is nothing to look up, and the panel keeps its page
    const LookupOutcome outcome =
        LookUpInOrder(onlySource.empty() ? DictionaryOrder() : std::vector<std::string>{onlySource},
                      trimmed, PairForCaption(pairCaption, trimmed));
    panel.ShowUtf8HtmlInPanel(OutcomePage(outcome));
    return !outcome.Entries.empty();
}

} // namespace quorvex::dictionaries
