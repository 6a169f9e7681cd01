#include "platform/ChineseScript.h"

#include <filesystem>
#include <memory>
#include <opencc.h>

namespace quorvex::platform {
namespace {

// Where Debian's libopencc looks for a configuration named without a folder.
inline constexpr const char* kConfigurationFolder = "/usr/share/opencc";

const opencc_t kOpenFailed = reinterpret_cast<opencc_t>(-1);

std::string LastError() {
    const char* error = opencc_error();
    return error != nullptr ? error : "unknown OpenCC error";
}

} // namespace

ChineseScriptConverter::ChineseScriptConverter(const std::string& configuration)
    : converter_(opencc_open(configuration.c_str())) {
    if (converter_ == kOpenFailed)
        throw Exception("OpenCC cannot load its configuration " + configuration + ": " +
                        LastError());
}

ChineseScriptConverter::~ChineseScriptConverter() {
    opencc_close(converter_);
}

std::string ChineseScriptConverter::Convert(const std::string& text) const {
    const std::unique_ptr<char, decltype(&opencc_convert_utf8_free)> converted(
        opencc_convert_utf8(converter_, text.data(), text.size()), opencc_convert_utf8_free);
    if (!converted)
        throw Exception("OpenCC could not convert the text: " + LastError());
    return converted.get();
}

bool ChineseScriptConfigurationExists(const std::string& configuration) {
    std::error_code error;
    return std::filesystem::is_regular_file(
        std::filesystem::path(kConfigurationFolder) / configuration, error);
}

} // namespace quorvex::platform
