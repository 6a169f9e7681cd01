#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvex::cli {

inline constexpr const char* kReleaseUsage =
    "usage: quorvex-release keygen [--key KEYFILE]\n"
    "       quorvex-release sign FILE --key KEYFILE --files DIR";

inline constexpr const char* kDefaultKeyFile = "quorvex-update.key";

// The entry "#" + Key + "=" of an information file set to Value: its first occurrence (found
// without regard to case) gets the new value in place, or a line is added at the end.
std::string SetInfoValue(std::string_view Text, const std::string& Key, const std::string& Value);

// The information file with a hash entry for every listed file (each found in FilesFolder by
// the last piece of its URL) and its Ed25519 signature appended; an earlier signature is
// replaced. Raises Exception when a listed file is missing or the file lists none.
std::string SignInfoText(std::string_view Text, const std::string& PrivateKey,
                         const std::string& FilesFolder);

// What in an information file its own rules let pass but would keep a release from doing
// anything: a "#urlN=" the numbering never reaches, a version that is not digits and dots.
std::vector<std::string> PublisherWarnings(std::string_view Text);

// Runs the command line (arguments without the program name); the exit status. Messages go to
// standard output and error.
int RunRelease(const std::vector<std::string>& Arguments);

} // namespace quorvex::cli
