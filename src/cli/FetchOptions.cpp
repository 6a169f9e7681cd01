#include "cli/FetchOptions.h"

#include <charconv>
#include <limits>
#include <tuple>

namespace quorvex::cli {
namespace {

inline constexpr std::uint32_t kMaxPort = 65535;

std::uint32_t Number(const std::string& text, const std::string& what) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value > std::numeric_limits<std::uint32_t>::max())
        throw EUsageError(what + " must be a whole number below 4 GiB, not \"" + text + "\"");
    return static_cast<std::uint32_t>(value);
}

// "A:B" split at the first colon; both parts required to be present (B may be empty).
std::pair<std::string, std::string> Pair(const std::string& text, const std::string& what) {
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0)
        throw EUsageError(what + " must be given as " +
                          (what == "--proxy" ? "HOST:PORT" : "USER:PASSWORD"));
    return {text.substr(0, colon), text.substr(colon + 1)};
}

} // namespace

FetchOptions ParseFetchOptions(const std::vector<std::string>& arguments) {
    FetchOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw EUsageError(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "-o") {
            options.output = value();
        } else if (argument == "--range") {
            const std::string& range = value();
            const auto dash = range.find('-');
            if (dash == std::string::npos)
                throw EUsageError("--range must be given as START-END");
            options.rangeStart = Number(range.substr(0, dash), "--range start");
            const std::string end = range.substr(dash + 1);
            options.rangeEnd = end.empty() ? 0 : Number(end, "--range end");
        } else if (argument == "--resume") {
            options.resume = true;
        } else if (argument == "--proxy") {
            const auto [host, port] = Pair(value(), "--proxy");
            options.proxyHost = host;
            const std::uint32_t number = Number(port, "--proxy port");
            if (number > kMaxPort)
                throw EUsageError("--proxy port must be at most " + std::to_string(kMaxPort));
            options.proxyPort = static_cast<int>(number);
        } else if (argument == "--proxy-user") {
            std::tie(options.proxyUser, options.proxyPassword) = Pair(value(), "--proxy-user");
        } else if (argument == "--user") {
            std::tie(options.user, options.password) = Pair(value(), "--user");
        } else if (argument == "--buffer") {
            options.buffer = Number(value(), "--buffer");
        } else if (argument == "--quiet") {
            options.quiet = true;
        } else if (!argument.empty() && argument[0] == '-') {
            throw EUsageError("unknown option " + argument);
        } else if (options.url.empty()) {
            options.url = argument;
        } else {
            throw EUsageError("only one URL may be given");
        }
    }
    if (options.url.empty())
        throw EUsageError("no URL given");
    if (options.resume && options.output.empty())
        throw EUsageError("--resume needs -o FILE");
    return options;
}

} // namespace quorvex::cli
