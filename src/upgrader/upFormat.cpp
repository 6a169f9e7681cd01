#include "upgrader/upFormat.h"

#include "platform/Exception.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace quorvex {
namespace {

inline constexpr int kFixedDecimals = 1;

class TFormatter {
public:
    TFormatter(std::string_view format, std::initializer_list<TFormatArgument> args)
        : format_(format)
        , next_(args.begin())
        , end_(args.end()) {}

    std::string Run() {
        std::size_t at = 0;
        while (at < format_.size()) {
            const auto percent = format_.find('%', at);
            result_ += format_.substr(at, percent - at);
            if (percent == std::string_view::npos)
                break;
            at = Placeholder(percent);
        }
        return result_;
    }

private:
    // Writes the placeholder that starts at `percent`; returns where the text goes on.
    std::size_t Placeholder(std::size_t percent) {
        const std::string_view rest = format_.substr(percent);
        if (rest.starts_with("%%")) {
            result_ += '%';
            return percent + 2;
        }
        if (rest.starts_with("%s")) {
            result_ += Argument<std::string>("%s");
            return percent + 2;
        }
        if (rest.starts_with("%d")) {
            result_ += std::to_string(Argument<long long>("%d"));
            return percent + 2;
        }
        if (rest.starts_with("%.2d")) {
            result_ += TwoDigits(Argument<long long>("%.2d"));
            return percent + 4;
        }
        if (rest.starts_with("%.1f")) {
            result_ += OneDecimal(FractionArgument());
            return percent + 4;
        }
        throw Exception("The message \"" + std::string(format_) +
                        "\" holds a placeholder that is not %s, %d, %.2d or %.1f");
    }

    const TFormatArgument& Take(const char* placeholder) {
        if (next_ == end_)
            throw Exception("The message \"" + std::string(format_) +
                            "\" has no argument for its " + placeholder);
        return *next_++;
    }

    template <typename T> T Argument(const char* placeholder) {
        const auto& value = Take(placeholder).Value();
        if (const T* typed = std::get_if<T>(&value))
            return *typed;
        throw Exception("The message \"" + std::string(format_) +
                        "\" got the wrong kind of "
                        "argument for its " +
                        placeholder);
    }

    // A whole number fills a placeholder with a fraction as well.
    double FractionArgument() {
        const auto& value = Take("%.1f").Value();
        if (const double* number = std::get_if<double>(&value))
            return *number;
        if (const long long* number = std::get_if<long long>(&value))
            return static_cast<double>(*number);
        throw Exception("The message \"" + std::string(format_) + "\" got a text for its %.1f");
    }

    static std::string TwoDigits(long long number) {
        const unsigned long long magnitude = number < 0
                                                 ? 0ULL - static_cast<unsigned long long>(number)
                                                 : static_cast<unsigned long long>(number);
        const std::string digits = std::to_string(magnitude);
        return (number < 0 ? "-" : "") + (digits.size() < 2 ? "0" + digits : digits);
    }

    static std::string OneDecimal(double number) {
        if (!std::isfinite(number))
            return std::isnan(number) ? "NAN" : number < 0 ? "-INF" : "INF";
        char text[400];
        const auto [end, error] = std::to_chars(text, text + sizeof text, number,
                                                std::chars_format::fixed, kFixedDecimals);
        if (error != std::errc())
            throw Exception("A number too large for a message");
        return std::string(text, end);
    }

    std::string_view format_;
    const TFormatArgument* next_;
    const TFormatArgument* end_;
    std::string result_;
};

} // namespace

std::string FormatMessageText(std::string_view Format,
                              std::initializer_list<TFormatArgument> Args) {
    return TFormatter(Format, Args).Run();
}

} // namespace quorvex
