#pragma once

#include "support/ChildProcess.h"

#include <memory>
#include <string>

namespace quorvex::test_support {

inline constexpr const char* kDefaultScreenSize = "1280x800x24";

// A private X server (Xvfb) on a display number it chose itself, for end-to-end tests.
class XvfbDisplay {
public:
    // `screenSize` as Xvfb takes it: width x height x depth.
    explicit XvfbDisplay(const std::string& screenSize = kDefaultScreenSize);
    // ":<number>"
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    std::unique_ptr<ChildProcess> server_;
};

} // namespace quorvex::test_support
