#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace quorvex::dictionaries {

inline constexpr unsigned kDictPort = 2628;
// Every wait for a DICT server ends after this: a lookup must not hold the window for long.
inline constexpr std::chrono::milliseconds kDictWaitLimit{10000};

// One definition a DICT server sent.
struct DictDefinition {
    std::string Database;    // its short name ("wn")
    std::string Description; // its description ("WordNet (r) 3.0")
    std::string Text;
};

// Asks the DICT server `server` ("host" or "host:port") for `word` (RFC 2229: DEFINE; database
// "!" is the first one that has the word, "*" all of them). No match gives no definitions.
// Throws SourceFailure when the server cannot be reached or refuses.
std::vector<DictDefinition> DefineOnServer(const std::string& server, const std::string& database,
                                           const std::string& word);

} // namespace quorvex::dictionaries
