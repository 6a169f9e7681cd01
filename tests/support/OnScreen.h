#pragma once

#include "platform/gui/Application.h"

#include <functional>

namespace quorvex::test_support {

// Runs the program's test cases on a private Xvfb with openbox (so windows get frames) and the
// xcb platform, inside a Qt application that `prepare` may set up first. When ctest only asks
// for the list of cases, lists them without starting anything.
int RunOnScreen(int argc, char** argv,
                const std::function<void(platform::TApplication&)>& prepare = {});

} // namespace quorvex::test_support
