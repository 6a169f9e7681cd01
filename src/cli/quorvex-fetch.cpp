// quorvex-fetch: downloads one URL with the download engine's transfer component.
#include "cli/FetchCommand.h"

#include <QCoreApplication>
#include <iostream>

namespace {

inline constexpr int kExitUsage = 2;

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        return quorvex::cli::RunFetch(quorvex::cli::ParseFetchOptions(arguments));
    } catch (const quorvex::cli::EUsageError& error) {
        std::cerr << "quorvex-fetch: " << error.what() << "\n" << quorvex::cli::kFetchUsage << "\n";
        return kExitUsage;
    }
}
