#include "platform/DesktopExec.h"

#include <optional>
#include <string_view>

namespace quorvex::platform {
namespace {

// The Exec line split at unquoted blanks; inside double quotes a backslash escapes the next
// character. Nullopt when a quote does not close.
std::optional<std::vector<std::string>> SplitExecLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"')
                quoted = false;
            else if (c == '\\' && i + 1 < line.size())
                word += line[++i];
            else
                word += c;
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == '"')
                quoted = true;
            else
                word += c;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

bool IsTargetCode(char code) {
    return code == 'u' || code == 'U' || code == 'f' || code == 'F';
}

// One word with its field codes expanded; nullopt when the word was only a dropped code.
std::optional<std::string> ExpandWord(const std::string& word, const std::string& url,
                                      bool& usedTarget) {
    // %i, %c, %k, the deprecated codes and a second target code stand alone and go.
    if (word.size() == 2 && word[0] == '%' && word[1] != '%' &&
        (!IsTargetCode(word[1]) || usedTarget))
        return std::nullopt;
    std::string expanded;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            expanded += word[i];
            continue;
        }
        const char code = word[++i];
        if (code == '%') {
            expanded += '%';
        } else if (IsTargetCode(code) && !usedTarget) {
            expanded += url;
            usedTarget = true;
        }
    }
    return expanded;
}

} // namespace

std::vector<std::string> ExecArguments(const std::string& execLine, const std::string& url) {
    const auto words = SplitExecLine(execLine);
    if (!words || words->empty())
        return {};
    std::vector<std::string> arguments;
    bool usedTarget = false;
    for (const auto& word : *words)
        if (auto expanded = ExpandWord(word, url, usedTarget))
            arguments.push_back(std::move(*expanded));
    if (arguments.empty() || arguments.front().empty())
        return {};
    if (!usedTarget)
        arguments.push_back(url);
    return arguments;
}

} // namespace quorvex::platform
