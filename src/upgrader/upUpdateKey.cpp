#include "upgrader/upUpdateKey.h"

namespace quorvex {

std::string BuiltInUpdateKey() {
    return QUORVEX_UPDATE_KEY;
}

} // namespace quorvex
