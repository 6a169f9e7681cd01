#pragma once

#include "support/ChildProcess.h"
#include "support/TemporaryFolder.h"

#include <memory>
#include <string>

namespace quorvex::test_support {

// A private D-Bus session bus (dbus-daemon) on a socket of its own, for tests of what talks to
// the desktop over D-Bus.
class SessionBus {
public:
    SessionBus();
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // As DBUS_SESSION_BUS_ADDRESS takes it.
    const std::string& Address() const { return address_; }

private:
    TemporaryFolder directory_;
    std::string address_;
    std::unique_ptr<ChildProcess> daemon_;
};

} // namespace quorvex::test_support
