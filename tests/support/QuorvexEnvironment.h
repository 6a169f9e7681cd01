#pragma once

#include "support/TemporaryFolder.h"

#include <string>
#include <vector>

namespace quorvex::test_support {

// What a quorvex started by an end-to-end test runs with: the xcb platform on `display`, a
// private runtime folder with its own settings folder (removed again with the object), the web
// engine's settings for this machine, and every outside service at `servicesHost`.
class QuorvexEnvironment {
public:
    QuorvexEnvironment(const std::string& display, const std::string& servicesHost);

    // Sets `name` for the programs started from now on, replacing what it held.
    void Set(const std::string& name, const std::string& value);

    // The private runtime folder, for whatever else the test keeps only while it runs.
    const std::filesystem::path& RuntimeDir() const { return runtimeDir_.Path(); }

    // "NAME=value" entries.
    const std::vector<std::string>& Variables() const { return variables_; }

private:
    TemporaryFolder runtimeDir_;
    std::vector<std::string> variables_;
};

} // namespace quorvex::test_support
