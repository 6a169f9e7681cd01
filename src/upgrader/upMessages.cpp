#include "upgrader/upMessages.h"

#include "download/upText.h"
#include "platform/Exception.h"
#include "platform/Resources.h"
#include "upgrader/upLanguages.h"
#include "upgrader/upResources.h"

#include <algorithm>
#include <map>

namespace quorvex {
namespace {

inline constexpr const char* kResourceType = "messages";
inline constexpr const char* kFixedTableName = "fixed";
inline constexpr int kFixedStringCount = 3;

Exception TableError(std::string_view name, int line, const std::string& what) {
    return Exception("Message table " + std::string(name) + ", line " + std::to_string(line) +
                     ": " + what);
}

std::string Unescape(std::string_view name, int line, std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            result += text[i];
            continue;
        }
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (next != 'n' && next != '\\')
            throw TableError(name, line, "a backslash stands before neither n nor another one");
        result += next == 'n' ? '\n' : '\\';
        ++i;
    }
    return result;
}

void AddTable(std::map<int, std::string>& strings, const std::string& name, int firstId,
              int count) {
    InitUpgraderResources();
    const auto data = platform::LoadResource(name, kResourceType);
    if (!data)
        throw Exception("The message table " + name + " is missing from the program");
    const auto entries = ParseMessageTable(name, *data, count);
    for (int entry = 0; entry < count; ++entry)
        strings[firstId + entry] = entries[static_cast<std::size_t>(entry)];
}

std::map<int, std::string> LoadAllStrings() {
    std::map<int, std::string> strings;
    AddTable(strings, kFixedTableName, kAppTitlePlaceholderId, kFixedStringCount);
    for (const TupLanguageTable& table : UpgraderLanguageTables())
        AddTable(strings, std::string(table.TableName), table.BaseId, kMessagesPerTable);
    return strings;
}

} // namespace

std::vector<std::string> ParseMessageTable(std::string_view Name, std::string_view Data,
                                           int Count) {
    std::vector<std::string> entries(static_cast<std::size_t>(Count));
    std::vector<bool> seen(static_cast<std::size_t>(Count), false);
    int lineNumber = 0;
    for (std::size_t start = 0; start < Data.size();) {
        const auto end = std::min(Data.find('\n', start), Data.size());
        std::string_view line = Data.substr(start, end - start);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;
        const auto equals = line.find('=');
        const auto entry = text::ToInteger(line.substr(0, equals));
        if (equals == std::string_view::npos || !entry || *entry < 0 || *entry >= Count ||
            seen[static_cast<std::size_t>(*entry)])
            throw TableError(Name, lineNumber,
                             "not an entry from 0 to " + std::to_string(Count - 1) + " given once");
        seen[static_cast<std::size_t>(*entry)] = true;
        entries[static_cast<std::size_t>(*entry)] =
            Unescape(Name, lineNumber, line.substr(equals + 1));
    }
    for (int entry = 0; entry < Count; ++entry)
        if (!seen[static_cast<std::size_t>(entry)])
            throw Exception("Message table " + std::string(Name) + " lacks entry " +
                            std::to_string(entry));
    return entries;
}

const std::string& LoadUpgraderString(int Id) {
    static const std::map<int, std::string> strings = LoadAllStrings();
    static const std::string none;
    const auto found = strings.find(Id);
    return found == strings.end() ? none : found->second;
}

std::string UpgraderText(int Entry) {
    return LoadUpgraderString(MessageBase() + Entry);
}

std::string UpgraderFormat(int Entry, std::initializer_list<TFormatArgument> Args) {
    return FormatMessageText(UpgraderText(Entry), Args);
}

} // namespace quorvex
