#pragma once

#include <QMenu>

namespace quorvex::platform {

// A popup menu that knows whether it may open by itself (on a right click, say) and which of
// its entries is the default one.
class TPopupMenu : public QMenu {
public:
    using QMenu::QMenu;

    bool AutoPopup = true;
};

} // namespace quorvex::platform
