#pragma once

namespace quorvex {

// Registers the message tables and pictures compiled into the upgrader's library; a static
// library's resources are only found once registered by name. Cheap after the first call.
void InitUpgraderResources();

} // namespace quorvex
