#pragma once

#include "platform/Exception.h"

#include <string>

namespace quorvex::platform {

// Conversion between Chinese scripts with the system's OpenCC library and one of its
// configurations ("s2twp.json": Simplified to Traditional with Taiwan phrases, "tw2sp.json" the
// reverse). Loading the dictionaries is the slow part, so one converter serves many texts.
class ChineseScriptConverter {
public:
    // Throws Exception naming the configuration when OpenCC cannot load it.
    explicit ChineseScriptConverter(const std::string& configuration);
    ~ChineseScriptConverter();
    ChineseScriptConverter(const ChineseScriptConverter&) = delete;
    ChineseScriptConverter& operator=(const ChineseScriptConverter&) = delete;

    // The UTF-8 `text` in the other script; throws Exception when OpenCC fails.
    std::string Convert(const std::string& text) const;

private:
    void* converter_;
};

// Whether OpenCC finds the configuration (its file is installed).
bool ChineseScriptConfigurationExists(const std::string& configuration);

} // namespace quorvex::platform
