#pragma once

#include <string>

namespace quorvex {

// Where a dictionary lookup shows its outcome: the web panel and a plain message box.
class TDictionaryPanel {
public:
    virtual ~TDictionaryPanel() = default;
    // Writes a complete page, given as bytes of the ANSI code page (GBK), into the web panel.
    virtual void ShowHtmlInPanel(const std::string& html) = 0;
    // Writes a complete page given as UTF-8 (the pages of today's dictionary sources).
    virtual void ShowUtf8HtmlInPanel(const std::string& html) = 0;
    // A plain message box (no icon, one OK button) titled with the application's title.
    virtual void ShowMessage(const std::string& text) = 0;
};

// The text cut out of a search page, as UTF-8.
struct TDictionaryEntry {
    // dkFailure: the request failed.
    enum TKind { dkEntry, dkNoEntry, dkError, dkFailure };
    TKind Kind;
    // The entry, the no-entry text or "Error"; empty when the entry has no end marker.
    std::string Text;
};

inline constexpr const char* kUserAgentMSIE6 = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; "
                                               "SV1; .NET CLR 1.1.4322; Alexa Toolbar)";
inline constexpr const char* kNoEntryText = "未找到和您的关键词 相匹配的词典解释";
inline constexpr const char* kErrorText = "Error";

// The search URL for `word` (UTF-8): its GBK bytes percent-encoded in the key wd.
std::string DictionaryQueryUrl(const std::string& searchHost, const std::string& word);

// The 23 lines put in front of every page shown in the web panel, each ended by CR LF.
std::string DictionaryPageHeader(const std::string& searchHost);

// Cuts the dictionary entry out of a search page (UTF-8).
TDictionaryEntry CutDictionaryEntry(const std::string& page);

// Asks the search service at `searchHost` for `word`; raises when the request fails.
TDictionaryEntry FetchDictionaryEntry(const std::string& searchHost, const std::string& word);

// The page (UTF-8) shown for `text`: the header followed by the text.
std::string DictionaryPage(const std::string& searchHost, const std::string& text);

// Looks `word` up at `searchHost` and shows the outcome in the panel, as LookupDictionary
// does; returns what the lookup found.
TDictionaryEntry::TKind ShowDictionaryEntry(const std::string& searchHost, const std::string& word,
                                            TDictionaryPanel& panel);

// Looks `word` up at the search host of the settings and shows the entry in the panel; a
// failed request shows "Error" and a message box with the system's error text. A failure of
// the panel itself goes to the caller.
void LookupDictionary(const std::string& word, TDictionaryPanel& panel);

} // namespace quorvex
