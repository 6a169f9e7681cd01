#include "platform/gui/X11Window.h"

#include <QCursor>
#include <QGuiApplication>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <qguiapplication_platform.h>
#include <vector>
#include <xcb/xcb.h>

namespace quorvex::platform {

namespace {

inline constexpr std::uint32_t kNetWmStateRemove = 0;
inline constexpr std::uint32_t kNetWmStateAdd = 1;
inline constexpr std::uint32_t kSourceIsApplication = 1;
inline constexpr std::uint32_t kMaxStateAtoms = 64;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* Connection() {
    const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t RootWindow(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

std::vector<xcb_atom_t> WindowState(xcb_connection_t* connection, xcb_window_t window,
                                    xcb_atom_t netWmState) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, netWmState, XCB_ATOM_ATOM, 0, kMaxStateAtoms),
        nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    return {atoms, atoms + xcb_get_property_value_length(reply.get()) / sizeof(xcb_atom_t)};
}

std::optional<xcb_query_pointer_reply_t> QueryPointer() {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr)
        return std::nullopt;
    const Reply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(
        connection, xcb_query_pointer(connection, RootWindow(connection)), nullptr));
    if (!reply)
        return std::nullopt;
    return *reply;
}

} // namespace

bool SkipsTaskbar(QWidget& window) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr || window.windowHandle() == nullptr)
        return false;
    const auto state =
        WindowState(connection, window.windowHandle()->winId(), Atom(connection, "_NET_WM_STATE"));
    return std::ranges::find(state, Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR")) != state.end();
}

void SetSkipTaskbar(QWidget& window, bool skip) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr)
        return;
    const xcb_window_t id = window.winId();
    const xcb_atom_t netWmState = Atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    // A window manager keeps the state of a mapped window and takes requests for it; before
    // the window is mapped (or with no window manager) the property itself is the state.
    std::vector<xcb_atom_t> state = WindowState(connection, id, netWmState);
    std::erase(state, skipTaskbar);
    if (skip)
        state.push_back(skipTaskbar);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netWmState, XCB_ATOM_ATOM, 32,
                        state.size(), state.data());
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = netWmState;
    request.data.data32[0] = skip ? kNetWmStateAdd : kNetWmStateRemove;
    request.data.data32[1] = skipTaskbar;
    request.data.data32[3] = kSourceIsApplication;
    xcb_send_event(connection, 0, RootWindow(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
}

QPoint ClientAreaOnScreen(QWidget& window) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr)
        return window.geometry().topLeft();
    const Reply<xcb_translate_coordinates_reply_t> reply(xcb_translate_coordinates_reply(
        connection,
        xcb_translate_coordinates(connection, window.winId(), RootWindow(connection), 0, 0),
        nullptr));
    if (!reply)
        return window.geometry().topLeft();
    return {reply->dst_x, reply->dst_y};
}

QPoint CursorPos() {
    if (const auto pointer = QueryPointer())
        return {pointer->root_x, pointer->root_y};
    return QCursor::pos();
}

bool LeftButtonDown() {
    if (const auto pointer = QueryPointer())
        return (pointer->mask & XCB_KEY_BUT_MASK_BUTTON_1) != 0;
    return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

Qt::KeyboardModifiers KeyboardState() {
    return QGuiApplication::queryKeyboardModifiers() &
           (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

int DoubleClickTime() {
    return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

} // namespace quorvex::platform
