#include "support/SessionBus.h"

#include "platform/Exception.h"
#include "support/Waiting.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace quorvex::test_support {

namespace {

// Time dbus-daemon gets to come up on a busy machine.
inline constexpr Milliseconds kStartLimit{60000};

bool Listening(const std::filesystem::path& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

} // namespace

SessionBus::SessionBus()
    : directory_("quorvex-bus") {
    const std::filesystem::path socketPath = directory_.Path() / "bus";
    address_ = "unix:path=" + socketPath.string();
    // The daemon reports every service it starts and the limits it cannot raise: no concern of
    // the tests.
    daemon_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"sh", "-c", "exec \"$@\" >/dev/null 2>&1", "dbus-daemon",
                                 "dbus-daemon", "--session", "--nofork", "--address=" + address_});
    if (!PollUntil([&] { return Listening(socketPath) || !daemon_->Running(); }, kStartLimit) ||
        !daemon_->Running())
        throw Exception("dbus-daemon did not start a private session bus");
}

SessionBus::~SessionBus() {
    daemon_.reset();
}

} // namespace quorvex::test_support
