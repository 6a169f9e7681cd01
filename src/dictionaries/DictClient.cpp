#include "dictionaries/DictClient.h"

#include "dictionaries/DictionarySource.h"
#include "platform/LineConnection.h"
#include "translate/PumpSteps.h"
#include "translate/RequestLimit.h"

namespace quorvex::dictionaries {
namespace {

constexpr std::string_view kGreeting = "220";
constexpr std::string_view kDefinitionsFollow = "150";
constexpr std::string_view kDefinitionFollows = "151";
constexpr std::string_view kDone = "250";
constexpr std::string_view kNoMatch = "552";
constexpr std::string_view kTextEnd = ".";

struct ServerAddress {
    std::string Host;
    uint16_t Port = kDictPort;
};

ServerAddress AddressOf(const std::string& server) {
    const std::size_t colon = server.rfind(':');
    if (colon == std::string::npos || server.find(':') != colon)
        return {server};
    const std::string port = server.substr(colon + 1);
    if (port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos || std::stoul(port) > UINT16_MAX)
        throw SourceFailure("the DICT server '" + server + "' has a bad port");
    return {server.substr(0, colon), static_cast<uint16_t>(std::stoul(port))};
}

// A DICT string argument: quoted, with backslashes before quotes and backslashes; line breaks
// would end the command, so they become blanks.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c == '\r' || c == '\n' ? ' ' : c;
    }
    return quoted + "\"";
}

bool HasCode(const std::string& line, std::string_view code) {
    return line.compare(0, code.size(), code) == 0 &&
           (line.size() == code.size() || line[code.size()] == ' ');
}

// The words of a 151 line: 151 "word" database "description".
DictDefinition DefinitionHead(const std::string& line) {
    DictDefinition definition;
    const std::size_t wordEnd = line.find('"', line.find('"') + 1);
    const std::size_t databaseStart = line.find_first_not_of(' ', wordEnd + 1);
    const std::size_t databaseEnd = line.find(' ', databaseStart);
    if (wordEnd == std::string::npos || databaseStart == std::string::npos)
        return definition;
    definition.Database = line.substr(databaseStart, databaseEnd - databaseStart);
    const std::size_t descriptionStart = line.find('"', databaseEnd);
    if (descriptionStart != std::string::npos)
        definition.Description =
            line.substr(descriptionStart + 1, line.rfind('"') - descriptionStart - 1);
    return definition;
}

// The text up to the line holding only "."; a leading doubled dot stands for one.
std::string ReadText(platform::LineConnection& connection) {
    std::string text;
    for (std::string line = connection.ReadLine(); line != kTextEnd; line = connection.ReadLine()) {
        if (line.starts_with(".."))
            line.erase(0, 1);
        text += line + "\n";
    }
    return text;
}

std::vector<DictDefinition> Define(platform::LineConnection& connection,
                                   const std::string& database, const std::string& word) {
    if (const std::string greeting = connection.ReadLine(); !HasCode(greeting, kGreeting))
        throw SourceFailure("the DICT server refused the connection: " + greeting);
    connection.SendLine("DEFINE " + database + " " + Quoted(word));
    std::string status = connection.ReadLine();
    std::vector<DictDefinition> definitions;
    if (HasCode(status, kNoMatch))
        return definitions;
    if (!HasCode(status, kDefinitionsFollow))
        throw SourceFailure("the DICT server answered: " + status);
    for (status = connection.ReadLine(); HasCode(status, kDefinitionFollows);
         status = connection.ReadLine()) {
        definitions.push_back(DefinitionHead(status));
        definitions.back().Text = ReadText(connection);
    }
    if (!HasCode(status, kDone))
        throw SourceFailure("the DICT server answered: " + status);
    connection.SendLine("QUIT");
    return definitions;
}

} // namespace

std::vector<DictDefinition> DefineOnServer(const std::string& server, const std::string& database,
                                           const std::string& word) {
    const ServerAddress address = AddressOf(server);
    try {
        platform::LineConnection connection(address.Host, address.Port, PumpSteps(),
                                            kDictWaitLimit);
        return Define(connection, database, word);
    } catch (const SourceFailure&) {
        throw;
    } catch (const ERequestAbandoned&) {
        throw; // the window closes: nothing more is asked
    } catch (const Exception& failure) {
        throw SourceFailure("the DICT server " + server + " cannot be reached: " + failure.what());
    }
}

} // namespace quorvex::dictionaries
