#pragma once

#include <iosfwd>
#include <string>

namespace quorvex {

// quorvex-translate --dict: looks `word` up as the window does under the pair `pairCaption`
// (or only in `service` when not empty) and prints the page the web panel would show, in UTF-8.
// Returns 0 when the page holds an entry, 1 otherwise.
int RunDictCommand(const std::string& word, const std::string& pairCaption,
                   const std::string& service, std::ostream& out, std::ostream& err);

// Lists the dictionary sources for --services: each one's pairs and whether it can be asked.
void PrintDictionarySources(std::ostream& out);

} // namespace quorvex
