// The replacer: started by the program's upgrade just before the program ends, it swaps the
// downloaded files in and starts the program again. No Qt and no window: it runs alone.
#include "platform/Exception.h"
#include "platform/Process.h"
#include "upgrader/replacer/Replacer.h"

#include <iostream>

using namespace quorvex;

namespace {

inline constexpr int kFailed = 2;

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "QvReplacer " << QUORVEX_REPLACER_VERSION
                  << ": puts the downloaded new files of a program in place and starts it "
                     "again; started by the program's upgrade\n";
        return 0;
    }
    platform::CloseInheritedDescriptors();
    try {
        const auto command = replacer::ParseReplacerCommand({argv + 1, argv + argc});
        replacer::TReplacer(command, std::cerr).Run();
        return 0;
    } catch (const Exception& failure) {
        std::cerr << "QvReplacer: " << failure.what() << "\n";
        return kFailed;
    }
}
