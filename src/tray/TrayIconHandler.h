#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quorvex {

namespace platform {
class TTrayHostWatch;
}

class TTrayIcon;

// What every tray icon of the process shares: the watch on the desktop's notification area,
// which tells the icons when it comes back (to show themselves again) or goes away. It lives
// from the first tray icon's creation to the last one's destruction.
class TTrayIconHandler {
public:
    TTrayIconHandler();
    ~TTrayIconHandler();
    TTrayIconHandler(const TTrayIconHandler&) = delete;
    TTrayIconHandler& operator=(const TTrayIconHandler&) = delete;

    // The handler of the process; null while no tray icon exists.
    static TTrayIconHandler* Current();
    std::uint32_t ObjectCount() const { return static_cast<std::uint32_t>(icons_.size()); }
    platform::TTrayHostWatch& HostWatch() { return *hostWatch_; }

private:
    friend class TTrayIcon;
    static TTrayIconHandler& Register(TTrayIcon& icon);
    static void Unregister(TTrayIcon& icon);
    void HostChanged(bool available);

    std::vector<TTrayIcon*> icons_;
    std::unique_ptr<platform::TTrayHostWatch> hostWatch_;
};

} // namespace quorvex
