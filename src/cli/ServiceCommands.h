#pragma once

#include <iosfwd>
#include <string>

namespace quorvex {

// --services: one line per service the program has: its name, whether it is configured and
// available, its title and the codes of the pairs it serves.
void ListServices(std::ostream& out);

// --service NAME: translates `text` for the pair captioned `caption` with that one service and
// prints the translation; on failure prints the reason on `err`. Returns the exit status.
int TranslateWithService(const std::string& name, const std::string& caption,
                         const std::string& text, std::ostream& out, std::ostream& err);

} // namespace quorvex
