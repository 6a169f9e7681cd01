#pragma once

#include <string>
#include <vector>

namespace quorvex::replacer {

// What an upgrade asks of the replacer. Its command line is the program's executable path, a
// blank, a plus sign, the restart arguments and one method digit; nothing is quoted, so blanks
// in the path may have split it into several arguments.
struct TReplacerCommand {
    std::string ExePath;
    std::string RestartArgs;
    bool Setup = false; // method 1: the download holds a setup program to run
};

// Reads the command line's arguments (the program name left out). Throws Exception when there
// is no program path followed by a blank and a "+": acting on such a line could move files
// of some other folder.
TReplacerCommand ParseReplacerCommand(const std::vector<std::string>& arguments);

// The path up to and including its last "/" (empty when there is none).
std::string FolderOf(const std::string& path);
// The path after its last "/".
std::string NameOf(const std::string& path);
// The words of `text` between blanks, as an argument vector takes them.
std::vector<std::string> ArgumentWords(const std::string& text);

} // namespace quorvex::replacer
