#include "translate/ServiceHosts.h"

#include "platform/Environment.h"

namespace quorvex {
namespace {

// An unset or empty variable leaves publicHost.
std::string HostSetting(const char* variable, const char* publicHost) {
    return platform::EnvironmentOr(variable, publicHost);
}

} // namespace

TServiceHosts ReadServiceHosts() {
    return {
        HostSetting("QUORVEX_TRANSLATE_HOST", "translate.google.com"),
        HostSetting("QUORVEX_SEARCH_HOST", "www.baidu.com"),
        HostSetting("QUORVEX_DICT_HOST", "dict.baidu.com"),
        // The maker has no public site: without the variable there is none at all.
        HostSetting("QUORVEX_SITE_HOST", ""),
    };
}

const TServiceHosts& ServiceHosts() {
    static const TServiceHosts hosts = ReadServiceHosts();
    return hosts;
}

} // namespace quorvex
