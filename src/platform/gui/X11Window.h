#pragma once

#include <QPoint>
#include <Qt>

class QWidget;

namespace quorvex::platform {

// What the program asks of the X server directly, beyond what Qt offers. On a display
// platform other than xcb, each falls back to what Qt alone can tell or does nothing.

// Whether the window asks the desktop to leave it out of the taskbar
// (_NET_WM_STATE_SKIP_TASKBAR).
bool SkipsTaskbar(QWidget& window);
// Puts the window into the taskbar or keeps it out.
void SetSkipTaskbar(QWidget& window, bool skip);

// Where the window's client area is on the screen as the X server has it: a window manager
// may have refused a move that Qt takes as done.
QPoint ClientAreaOnScreen(QWidget& window);

// The pointer and its left button as the X server sees them, wherever the pointer is
// (also while the window manager holds it for a drag).
QPoint CursorPos();
bool LeftButtonDown();

// Shift, Ctrl and Alt as they are held at this moment.
Qt::KeyboardModifiers KeyboardState();

// The desktop's double-click time in milliseconds, read afresh.
int DoubleClickTime();

} // namespace quorvex::platform
