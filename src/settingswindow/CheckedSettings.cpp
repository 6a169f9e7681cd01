#include "settingswindow/CheckedSettings.h"

#include "settings/Settings.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <set>

namespace quorvex::settingswindow {
namespace {

// Settings are re-read whenever they are needed: each bad value is told about once.
std::set<std::string>& ReportedValues() {
    static std::set<std::string> reported;
    return reported;
}

} // namespace

void ReportIgnoredSetting(const std::string& key, const std::string& value,
                          const std::string& reason) {
    if (!ReportedValues().insert(key + '=' + value).second)
        return;
    std::cerr << "Quorvex: " << settings::FilePath() << ": ignoring " << key << "=\"" << value
              << "\" (" << reason << ")\n";
}

int IgnoredSettingCount() {
    return static_cast<int>(ReportedValues().size());
}

std::optional<int> IntegerSetting(const std::string& key, int minimum, int maximum) {
    const std::string text = settings::Value(key, nullptr);
    if (text.empty())
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < minimum ||
        value > maximum) {
        ReportIgnoredSetting(key, text,
                             "not a whole number from " + std::to_string(minimum) + " to " +
                                 std::to_string(maximum));
        return std::nullopt;
    }
    return value;
}

std::optional<bool> BooleanSetting(const std::string& key) {
    const std::string text = settings::Value(key, nullptr);
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    if (!text.empty())
        ReportIgnoredSetting(key, text, "neither true nor false");
    return std::nullopt;
}

std::vector<std::string> NamesSetting(const std::string& key, const char* environmentOverride,
                                      const std::vector<std::string>& known,
                                      const std::vector<std::string>& fallback) {
    std::vector<std::string> names;
    for (const std::string& name : settings::ListValue(key, environmentOverride, {})) {
        if (std::find(known.begin(), known.end(), name) == known.end())
            ReportIgnoredSetting(key, name, "no such name");
        else if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names.empty() ? fallback : names;
}

} // namespace quorvex::settingswindow
