#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace quorvex {

// One value for a message's placeholder: a text, a whole number or a number with a fraction.
class TFormatArgument {
public:
    TFormatArgument(const char* Text)
        : value_(std::string(Text)) {}
    TFormatArgument(std::string Text)
        : value_(std::move(Text)) {}
    TFormatArgument(std::string_view Text)
        : value_(std::string(Text)) {}
    TFormatArgument(int Number)
        : value_(static_cast<long long>(Number)) {}
    TFormatArgument(long Number)
        : value_(static_cast<long long>(Number)) {}
    TFormatArgument(long long Number)
        : value_(Number) {}
    TFormatArgument(unsigned Number)
        : value_(static_cast<long long>(Number)) {}
    TFormatArgument(unsigned long Number)
        : value_(static_cast<long long>(Number)) {}
    TFormatArgument(double Number)
        : value_(Number) {}

    const std::variant<std::string, long long, double>& Value() const { return value_; }

private:
    std::variant<std::string, long long, double> value_;
};

// Fills the placeholders of a message text, which is data and never a printf format: "%s" a
// text, "%d" a whole number, "%.2d" one with at least two digits, "%.1f" a number with one
// decimal; "%%" is a percent sign. Any other placeholder, a missing argument or one of the
// wrong kind raises quorvex::Exception; arguments left over are ignored.
std::string FormatMessageText(std::string_view Format, std::initializer_list<TFormatArgument> Args);

} // namespace quorvex
