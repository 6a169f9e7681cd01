#include "translate/ServiceHosts.h"

#include <cstdlib>

namespace quorvex {
namespace {

std::string HostSetting(const char* variable, const char* publicHost) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? value : publicHost;
}

} // namespace

TServiceHosts ReadServiceHosts() {
    return {
        HostSetting("QUORVEX_TRANSLATE_HOST", "translate.google.com"),
        HostSetting("QUORVEX_SEARCH_HOST", "www.baidu.com"),
        HostSetting("QUORVEX_DICT_HOST", "dict.baidu.com"),
        // The maker has no public site of its own; a reserved name that never resolves.
        HostSetting("QUORVEX_SITE_HOST", "www.quorvex.example"),
    };
}

const TServiceHosts& ServiceHosts() {
    static const TServiceHosts hosts = ReadServiceHosts();
    return hosts;
}

} // namespace quorvex
