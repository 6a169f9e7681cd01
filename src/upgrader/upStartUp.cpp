#include "upgrader/upStartUp.h"

#include "platform/Process.h"
#include "platform/UpgradeFiles.h"
#include "upgrader/replacer/ReplacerCommand.h"
#include "upgrader/replacer/SwapJournal.h"

#include <iostream>

namespace quorvex {

void CompleteInterruptedUpgrade(char** argv) {
    const std::string program = platform::ProgramPath();
    if (program.empty() || !replacer::CompleteInterruptedSwap(program, std::cerr))
        return;
    std::vector<std::string> arguments;
    for (char** argument = argv; *argument != nullptr; ++argument)
        arguments.emplace_back(*argument);
    platform::ReplaceProcess(program, arguments);
    std::cerr << "Quorvex: cannot start " << program << " again after completing its upgrade\n";
}

void ForgetReplacedFiles() {
    const std::string program = platform::ProgramPath();
    if (!program.empty())
        replacer::ForgetReplacedFiles(replacer::FolderOf(program));
}

} // namespace quorvex
