#include "cli/DictCommand.h"

#include "cli/TranslateCommand.h"
#include "dictionaries/DictionaryLookup.h"
#include "platform/Environment.h"
#include "platform/TextCodec.h"
#include "translate/Dictionary.h"
#include "translate/ServiceHosts.h"

#include <iomanip>
#include <ostream>

namespace quorvex {
namespace {

// Prints what a lookup shows: every page in UTF-8 and a message-box text on the error stream.
class TPrintingPanel final : public TDictionaryPanel {
public:
    TPrintingPanel(std::ostream& out, std::ostream& err)
        : out_(out)
        , err_(err) {}
    void ShowHtmlInPanel(const std::string& html) override {
        ShowUtf8HtmlInPanel(platform::GbkToUtf8(html));
    }
    void ShowUtf8HtmlInPanel(const std::string& html) override { out_ << html << "\n"; }
    void ShowMessage(const std::string& text) override {
        err_ << "quorvex-translate: " << text << "\n";
    }

private:
    std::ostream& out_;
    std::ostream& err_;
};

std::string ServedPairs(const dictionaries::DictionarySource& source) {
    std::string pairs;
    for (const TLanguagePair& pair : kLanguagePairs) {
        if (source.Serves(pair))
            pairs += (pairs.empty() ? "" : " ") + std::string(pair.Code);
    }
    return pairs.empty() ? "not available (no data file or server set)" : pairs;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

} // namespace

int RunDictCommand(const std::string& word, const std::string& pairCaption,
                   const std::string& service, std::ostream& out, std::ostream& err) {
    TPrintingPanel panel(out, err);
    return dictionaries::ShowDictionaryLookup(pairCaption, word, panel, service) ? kExitTranslated
                                                                                 : kExitError;
}

void PrintDictionarySources(std::ostream& out) {
    const bool classicOnly = !platform::EnvironmentOr("QUORVEX_SEARCH_HOST").empty();
    out << "Dictionary sources, asked in the order " << Joined(dictionaries::DictionaryOrder())
        << (classicOnly ? " (QUORVEX_SEARCH_HOST is set: only classic is asked)" : "") << ":\n";
    for (const std::string& name : dictionaries::DictionarySourceNames()) {
        const auto source = dictionaries::MakeDictionarySource(name);
        out << "  " << std::left << std::setw(10) << name
            << (source ? ServedPairs(*source)
                       : "the classic search page lookup at " + ServiceHosts().Search)
            << "\n";
    }
}

} // namespace quorvex
