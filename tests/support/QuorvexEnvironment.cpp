#include "support/QuorvexEnvironment.h"

#include <unistd.h>

namespace quorvex::test_support {

namespace {

std::filesystem::path NewRuntimeDir() {
    static int made = 0;
    return std::filesystem::temp_directory_path() /
           ("quorvex-e2e-" + std::to_string(getpid()) + "-" + std::to_string(++made));
}

} // namespace

QuorvexEnvironment::QuorvexEnvironment(const std::string& display, const std::string& servicesHost)
    : runtimeDir_(NewRuntimeDir()) {
    std::filesystem::create_directories(runtimeDir_);
    std::filesystem::permissions(runtimeDir_, std::filesystem::perms::owner_all);
    variables_ = {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + display,
                  "XDG_RUNTIME_DIR=" + runtimeDir_.string(),
                  // Settings a run writes (the remembered window) stay with that run.
                  "XDG_CONFIG_HOME=" + (runtimeDir_ / "config").string(),
                  "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu",
                  "QUORVEX_TRANSLATE_HOST=" + servicesHost, "QUORVEX_SEARCH_HOST=" + servicesHost,
                  "QUORVEX_DICT_HOST=" + servicesHost, "QUORVEX_SITE_HOST=" + servicesHost};
    // The web engine refuses to start as root with its sandbox on.
    if (geteuid() == 0)
        variables_.push_back("QTWEBENGINE_DISABLE_SANDBOX=1");
}

QuorvexEnvironment::~QuorvexEnvironment() {
    std::error_code ignored;
    std::filesystem::remove_all(runtimeDir_, ignored);
}

void QuorvexEnvironment::Set(const std::string& name, const std::string& value) {
    std::erase_if(variables_,
                  [&](const std::string& entry) { return entry.starts_with(name + "="); });
    variables_.push_back(name + "=" + value);
}

} // namespace quorvex::test_support
