#pragma once

#include <string>

namespace quorvex {

// The public key (base64) update information files must be signed with, as the build was
// configured (QUORVEX_UPDATE_KEY); empty when signatures are not required.
std::string BuiltInUpdateKey();

} // namespace quorvex
