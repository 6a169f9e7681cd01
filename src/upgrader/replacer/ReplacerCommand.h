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

// Reads the command line's arguments (the program name left out). A path that holds " +" comes
// whole in a first argument "--program=PATH", followed by the "+" and the rest. Throws Exception
// when there is no program path followed by a blank and a "+": acting on such a line could move
// files of some other folder.
TReplacerCommand ParseReplacerCommand(const std::vector<std::string>& arguments);

// The arguments to start the replacer with for the program `exePath` and `restartArgs` (the
// restart arguments and the method digit): the plain line when it carries the path, else the
// "--program=" form; checked by reading them back as the replacer will. Throws Exception when
// neither form gives back both.
std::vector<std::string> ReplacerArguments(const std::string& exePath,
                                           const std::string& restartArgs);

// The path up to and including its last "/" (empty when there is none).
std::string FolderOf(const std::string& path);
// The path after its last "/".
std::string NameOf(const std::string& path);
// The words of `text` between blanks, as an argument vector takes them.
std::vector<std::string> ArgumentWords(const std::string& text);

} // namespace quorvex::replacer
