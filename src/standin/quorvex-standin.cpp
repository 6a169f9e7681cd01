// quorvex-standin: a loopback stand-in for the outside web services.
#include "platform/TerminationSignals.h"
#include "standin/Standin.h"

#include <charconv>
#include <cstring>
#include <iostream>
#include <string_view>

namespace {

constexpr int kBadUsage = 2;

constexpr std::string_view kHelp =
    R"(Usage: quorvex-standin [--port N]

Serves on 127.0.0.1 what Quorvex asks of the outside web services, so that it runs end to end
without the internet:
  POST /translate_t   the translation service: the form fields langpair and text in, a UTF-8
                      page with the translation between the result markers out. English and
                      Chinese are translated word by word from a small built-in glossary;
                      unknown words, and other languages, stay as they are.
Malformed requests are answered with 400 and a message saying why.

  --port N   listen on port N (default 0: any free port)

Prints "listening on 127.0.0.1:PORT" once it listens, then serves until SIGINT or SIGTERM.
)";

int Usage(const std::string& problem) {
    std::cerr << "quorvex-standin: " << problem << "\n"
              << "Try 'quorvex-standin --help'.\n";
    return kBadUsage;
}

} // namespace

int main(int argc, char** argv) {
    uint16_t port = 0;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "--help") {
            std::cout << kHelp;
            return 0;
        }
        if (argument != "--port" || i + 1 == argc)
            return Usage("unknown argument '" + std::string(argument) + "'");
        std::string_view value = argv[++i];
        auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
        if (error != std::errc() || end != value.data() + value.size())
            return Usage("the port '" + std::string(value) + "' is not a number from 0 to 65535");
    }
    try {
        quorvex::platform::BlockTerminationSignals();
        quorvex::TStandin standin(port);
        std::cout << "listening on 127.0.0.1:" << standin.Port() << std::endl;
        quorvex::platform::WaitForTerminationSignal();
    } catch (const std::exception& failure) {
        std::cerr << "quorvex-standin: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
