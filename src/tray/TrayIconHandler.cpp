#include "tray/TrayIconHandler.h"

#include "platform/gui/TrayHostWatch.h"
#include "tray/TrayIcon.h"

#include <algorithm>

namespace quorvex {

namespace {

// Touched only on the user-interface thread.
TTrayIconHandler* currentHandler = nullptr;

} // namespace

TTrayIconHandler::TTrayIconHandler()
    : hostWatch_(std::make_unique<platform::TTrayHostWatch>()) {
    hostWatch_->OnChange = [this](bool available) { HostChanged(available); };
}

TTrayIconHandler::~TTrayIconHandler() = default;

TTrayIconHandler* TTrayIconHandler::Current() {
    return currentHandler;
}

TTrayIconHandler& TTrayIconHandler::Register(TTrayIcon& icon) {
    if (currentHandler == nullptr)
        currentHandler = new TTrayIconHandler;
    currentHandler->icons_.push_back(&icon);
    return *currentHandler;
}

void TTrayIconHandler::Unregister(TTrayIcon& icon) {
    if (currentHandler == nullptr)
        return;
    std::erase(currentHandler->icons_, &icon);
    if (currentHandler->icons_.empty()) {
        delete currentHandler;
        currentHandler = nullptr;
    }
}

void TTrayIconHandler::HostChanged(bool available) {
    // A copy: an icon's handler may free another icon.
    const std::vector<TTrayIcon*> icons = icons_;
    for (TTrayIcon* icon : icons)
        if (std::ranges::find(icons_, icon) != icons_.end())
            icon->TrayHostChanged(available);
}

} // namespace quorvex
