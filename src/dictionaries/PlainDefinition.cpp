#include "dictionaries/PlainDefinition.h"

#include <cctype>
#include <vector>

namespace quorvex::dictionaries {
namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (const std::string_view line = Trimmed(text.substr(start, end - start)); !line.empty())
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The text between the first `open` and the next `close`; empty when there is none.
std::string_view Between(std::string_view text, char open, char close) {
    const std::size_t start = text.find(open);
    if (start == std::string_view::npos)
        return {};
    const std::size_t end = text.find(close, start + 1);
    return end == std::string_view::npos ? std::string_view()
                                         : text.substr(start + 1, end - start - 1);
}

std::string WithoutTags(std::string_view text) {
    std::string kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i).starts_with("()")) {
            ++i; // an empty tag
            continue;
        }
        if (text[i] != '[') {
            kept += text[i];
            continue;
        }
        const std::size_t end = text.find(']', i);
        if (end == std::string_view::npos) {
            kept += text.substr(i);
            break;
        }
        i = end;
    }
    return std::string(Trimmed(kept));
}

std::string_view WithoutNumbering(std::string_view line) {
    std::size_t digits = 0;
    while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits])))
        ++digits;
    if (digits > 0 && line.substr(digits).starts_with(". "))
        return Trimmed(line.substr(digits + 2));
    return line;
}

bool WhollyInParentheses(std::string_view line) {
    return line.size() > 2 && line.front() == '(' && line.back() == ')';
}

struct Form {
    std::string Word;
    std::string Pronunciation;
};

// The forms a headword line lists: "[tags] word /pronunciation/", separated by commas.
std::vector<Form> Forms(std::string_view line) {
    std::vector<Form> forms;
    std::size_t position = 0;
    for (;;) {
        const std::size_t open = line.find('/', position);
        const std::size_t close = open == std::string_view::npos ? open : line.find('/', open + 1);
        if (close == std::string_view::npos)
            break;
        std::string_view word = Trimmed(line.substr(position, open - position));
        if (word.starts_with(','))
            word.remove_prefix(1);
        forms.push_back(
            {WithoutTags(word), std::string(Trimmed(line.substr(open + 1, close - open - 1)))});
        position = close + 1;
    }
    if (forms.empty())
        forms.push_back({WithoutTags(line.substr(0, line.find('<'))), {}});
    return forms;
}

// The first form is the headword; the others, when there are any, say how it is read (the kana
// of a Japanese word), else its pronunciation does.
void ReadHeadwordLine(std::string_view line, const std::string& word, Entry& entry) {
    const std::vector<Form> forms = Forms(line);
    entry.Headword = forms.front().Word.empty() ? word : forms.front().Word;
    for (std::size_t i = 1; i < forms.size(); ++i)
        entry.Pronunciation += (i == 1 ? "" : ", ") + forms[i].Word;
    if (forms.size() == 1)
        entry.Pronunciation = forms.front().Pronunciation;
    const std::size_t partOfSpeech = line.rfind('<');
    entry.Senses.push_back(
        {partOfSpeech == std::string_view::npos
             ? std::string()
             : std::string(Trimmed(Between(line.substr(partOfSpeech), '<', '>'))),
         {}});
}

} // namespace

Entry ParsePlainDefinition(std::string_view text, const std::string& word) {
    Entry entry;
    const std::vector<std::string_view> lines = Lines(text);
    ReadHeadwordLine(lines.empty() ? std::string_view() : lines.front(), word, entry);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = WithoutNumbering(lines[i]);
        if (!WhollyInParentheses(line)) {
            entry.Senses.back().Meanings.emplace_back(line);
            continue;
        }
        const std::string partOfSpeech(line.substr(1, line.size() - 2));
        if (entry.Senses.back().Meanings.empty())
            entry.Senses.back().PartOfSpeech = partOfSpeech;
        else
            entry.Senses.push_back({partOfSpeech, {}});
    }
    return entry;
}

} // namespace quorvex::dictionaries
