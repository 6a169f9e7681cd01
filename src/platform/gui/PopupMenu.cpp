#include "platform/gui/PopupMenu.h"

#include "platform/gui/X11Window.h"

namespace quorvex::platform {

void TPopupMenu::PopupAtCursor() {
    popup(CursorPos());
}

} // namespace quorvex::platform
