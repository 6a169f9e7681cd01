#pragma once

#include "platform/Socket.h"

#include <curl/curl.h>
#include <string>

namespace quorvex::platform {

// Why a request to `url` got no reply, for a person: what went wrong in a few words, then
// libcurl's own detail in brackets when it has one.
std::string HttpsFailureReason(CURLcode code, const std::string& detail, const std::string& url,
                               Milliseconds limit);

} // namespace quorvex::platform
