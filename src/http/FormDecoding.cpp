#include "http/FormDecoding.h"

#include "http/HttpRequest.h"

#include <cctype>

namespace quorvex {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

} // namespace

std::string DecodeFormValue(std::string_view value) {
    std::string decoded;
    decoded.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '+') {
            decoded += ' ';
        } else if (value[i] != '%') {
            decoded += value[i];
        } else {
            int high = i + 2 < value.size() ? HexValue(value[i + 1]) : -1;
            int low = high >= 0 ? HexValue(value[i + 2]) : -1;
            if (low < 0)
                throw EBadRequest("broken %-sequence in the form value \"" + std::string(value) +
                                  "\"");
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        }
    }
    return decoded;
}

std::map<std::string, std::string> DecodeForm(std::string_view body) {
    std::map<std::string, std::string> fields;
    while (!body.empty()) {
        size_t ampersand = body.find('&');
        std::string_view pair = body.substr(0, ampersand);
        body.remove_prefix(ampersand == std::string_view::npos ? body.size() : ampersand + 1);
        if (pair.empty())
            continue;
        size_t equals = pair.find('=');
        std::string_view value =
            equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
        fields[DecodeFormValue(pair.substr(0, equals))] = DecodeFormValue(value);
    }
    return fields;
}

} // namespace quorvex
