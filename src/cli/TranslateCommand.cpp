#include "cli/TranslateCommand.h"

#include "cli/DictCommand.h"
#include "cli/ServiceCommands.h"
#include "services/WindowTranslation.h"
#include "translate/LanguagePairs.h"
#include "translate/TranslateText.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace quorvex {
namespace {

constexpr unsigned char kFirstNonAsciiByte = 127;

const std::string kHelp = R"(Usage: quorvex-translate [--service NAME] [-p PAIR] [TEXT...]
       quorvex-translate --services

Translates TEXT exactly as the Quorvex window does and prints the result box, each line
followed by a line break; when it ends with "Error", each service tried and its reason go to
standard error. TEXT is the arguments joined by single spaces; without any, standard input is
read whole (a final line break included).

  -p PAIR   the language pair: a caption of the window's list or a service code:
)" + [] {
    std::string rows;
    for (const TLanguagePair& pair : kLanguagePairs)
        rows += "              " + std::string(pair.Code) + "  " + std::string(pair.Caption) + "\n";
    return rows;
}() + R"(            Without -p the pair follows the text: any byte of 127 or more selects
            Chinese to English, otherwise English to Chinese. A caption that is not in the
            list is still sent, with an empty language pair, after a warning.
  --dict WORD
            look WORD up in the dictionaries as the window does for a short text and print
            the page it would show in its web panel (UTF-8). The sources are asked in the
            order of QUORVEX_DICTIONARIES (or the setting Dictionary/Order; default cedict,
            freedict, google, dict); with QUORVEX_SEARCH_HOST set only the classic search page
            lookup (classic) there. -p chooses the pair as for a translation.
            Exit status 0 for an entry, 1 otherwise.
  --service NAME
            ask only the translation service NAME (no chain) and print its translation;
            with --dict, ask only the dictionary source NAME
  --services
            list every translation service (whether it is configured and available, and
            its pairs), then the dictionary sources, the pairs each serves and whether it
            can be asked
  --help    show this text

The services are asked in the order of the setting Services/Order (QUORVEX_SERVICES, default
"opencc, google, libretranslate, baidu, apertium"); the first that serves the pair and is
configured translates, and when it fails, the next. With QUORVEX_TRANSLATE_HOST set (host or
host:port) only the classic service at that host is asked, as the window first did.

Exit status: 0 when a translation was written, 1 when the result box ended with "Error",
2 for bad usage.
)";

std::string JoinWords(const std::vector<std::string>& words) {
    std::string text;
    for (size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : " ") + words[i];
    return text;
}

// Each line of `reasons` as a message of its own.
void PrintReasons(const std::string& reasons, std::ostream& err) {
    std::istringstream lines(reasons);
    for (std::string line; std::getline(lines, line);)
        err << "quorvex-translate: " << line << "\n";
}

bool EndsWithError(const TStringList& result) {
    return !result.Lines().empty() && result.Lines().back() == kErrorLine;
}

} // namespace

TTranslateArguments ParseTranslateArguments(const std::vector<std::string>& arguments) {
    TTranslateArguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            parsed.Text.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help") {
            parsed.Help = true;
        } else if (argument == "--dict") {
            if (i + 1 == arguments.size())
                throw EUsage("--dict needs a word");
            parsed.DictWord = arguments[++i];
        } else if (argument == "--service") {
            if (i + 1 == arguments.size())
                throw EUsage("--service needs a name");
            parsed.Service = arguments[++i];
        } else if (argument == "--services") {
            parsed.ListServices = true;
        } else if (argument == "-p") {
            if (i + 1 == arguments.size())
                throw EUsage("-p needs a language pair");
            parsed.Pair = arguments[++i];
        } else {
            throw EUsage("unknown option '" + argument + "'");
        }
    }
    return parsed;
}

std::string CaptionForPair(const std::string& pair) {
    auto byCode = std::find_if(kLanguagePairs.begin(), kLanguagePairs.end(),
                               [&](const TLanguagePair& row) { return row.Code == pair; });
    return byCode == kLanguagePairs.end() ? pair : std::string(byCode->Caption);
}

std::string DefaultCaptionFor(const std::string& text) {
    const bool nonAscii = std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= kFirstNonAsciiByte;
    });
    return std::string(kLanguagePairs[nonAscii ? 1 : 0].Caption);
}

int RunTranslateCommand(const std::vector<std::string>& arguments, std::istream& in,
                        std::ostream& out, std::ostream& err) {
    TTranslateArguments parsed;
    try {
        parsed = ParseTranslateArguments(arguments);
    } catch (const EUsage& problem) {
        err << "quorvex-translate: " << problem.what() << "\nTry 'quorvex-translate --help'.\n";
        return kExitBadUsage;
    }
    if (parsed.Help) {
        out << kHelp;
        return kExitTranslated;
    }
    if (parsed.ListServices) {
        ListServices(out);
        out << "\n";
        PrintDictionarySources(out);
        return kExitTranslated;
    }
    if (parsed.DictWord)
        return RunDictCommand(*parsed.DictWord,
                              parsed.Pair.empty() ? DefaultCaptionFor(*parsed.DictWord)
                                                  : CaptionForPair(parsed.Pair),
                              parsed.Service, out, err);
    const std::string text = parsed.Text.empty()
                                 ? std::string(std::istreambuf_iterator<char>(in), {})
                                 : JoinWords(parsed.Text);
    const std::string caption =
        parsed.Pair.empty() ? DefaultCaptionFor(text) : CaptionForPair(parsed.Pair);
    if (!parsed.Service.empty())
        return TranslateWithService(parsed.Service, caption, text, out, err);
    if (LanguageCodeForCaption(caption).empty() && services::ClassicServiceOnly())
        err << "quorvex-translate: warning: '" << caption
            << "' is not a language pair of the list; it is sent with an empty pair\n";
    TStringList result;
    services::TranslateThroughServices(caption, text, result);
    out << result.Text();
    PrintReasons(result.Explanation(), err);
    return EndsWithError(result) ? kExitError : kExitTranslated;
}

} // namespace quorvex
