#include "platform/gui/WebViewLoader.h"

#include "platform/Exception.h"
#include "platform/gui/Installation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quorvex::platform {
namespace {

using testing::HasSubstr;

TEST(WebViewLoader, LoadsTheProgramsOwnModuleOnly) {
    EXPECT_NE(LoadWebViewModule(WebViewModulePath()), nullptr);
    EXPECT_THAT([] { LoadWebViewModule(QUORVEX_OTHER_VERSION_MODULE); },
                testing::ThrowsMessage<Exception>(HasSubstr("版本为 0.0.0.1")));
    EXPECT_THAT([] { LoadWebViewModule("/nonexistent/quorvex-webview.so"); },
                testing::ThrowsMessage<Exception>(HasSubstr("无法加载")));
}

} // namespace
} // namespace quorvex::platform
