// quorvex-translate: the window's translation from the command line.
#include "cli/TranslateCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    return quorvex::RunTranslateCommand(std::vector<std::string>(argv + 1, argv + argc), std::cin,
                                        std::cout, std::cerr);
}
