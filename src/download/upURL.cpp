#include "download/upHTTP.h"
#include "download/upUtils.h"

namespace quorvex {

std::string HostFromURL(std::string_view URL) {
    TURLComponents parts;
    return CrackURL(URL, parts) ? parts.HostName : std::string();
}

std::string FileNameFromURL(std::string_view URL) {
    TURLComponents parts;
    return CrackURL(URL, parts) ? ExtractURLFileName(parts.UrlPath) : std::string();
}

} // namespace quorvex
