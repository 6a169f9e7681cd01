#include "support/QuorvexEnvironment.h"

#include <unistd.h>

namespace quorvex::test_support {

QuorvexEnvironment::QuorvexEnvironment(const std::string& display, const std::string& servicesHost)
    : runtimeDir_("quorvex-e2e") {
    const std::filesystem::path& runtimeDir = runtimeDir_.Path();
    variables_ = {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + display,
                  "XDG_RUNTIME_DIR=" + runtimeDir.string(),
                  // Settings a run writes (the remembered window) stay with that run.
                  "XDG_CONFIG_HOME=" + (runtimeDir / "config").string(),
                  "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu",
                  "QUORVEX_TRANSLATE_HOST=" + servicesHost, "QUORVEX_SEARCH_HOST=" + servicesHost,
                  "QUORVEX_DICT_HOST=" + servicesHost, "QUORVEX_SITE_HOST=" + servicesHost};
    // The web engine refuses to start as root with its sandbox on.
    if (geteuid() == 0)
        variables_.push_back("QTWEBENGINE_DISABLE_SANDBOX=1");
}

void QuorvexEnvironment::Set(const std::string& name, const std::string& value) {
    std::erase_if(variables_,
                  [&](const std::string& entry) { return entry.starts_with(name + "="); });
    variables_.push_back(name + "=" + value);
}

} // namespace quorvex::test_support
