#include "app/x11_hints.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <vector>

namespace pw::app {
namespace {

void appendAtoms(QWidget* window, const char* property, std::vector<xcb_atom_t> values) {
    xcb_connection_t* c = x11Connection();
    if (!c || !window)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t name = x11Atom(c, property);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, id, name, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(values.size()), values.data());
    xcb_flush(c);
}

} // namespace

// Asked for on every tray frame; the interface lookup behind it is a cast
// through the meta-object system, so the answer is kept per application.
xcb_connection_t* x11Connection() {
    thread_local const QGuiApplication* askedOf = nullptr;
    thread_local xcb_connection_t* connection = nullptr;
    if (qGuiApp != askedOf) {
        auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        askedOf = qGuiApp;
        connection = x11 ? x11->connection() : nullptr;
    }
    return connection;
}

xcb_atom_t x11Atom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

bool onX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void keepOffTaskbarAndPager(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return;
    // Qt merges its own states into what is already there when it maps the window.
    appendAtoms(window, "_NET_WM_STATE",
                {x11Atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), x11Atom(c, "_NET_WM_STATE_SKIP_PAGER")});
}

void showOnEveryWorkspace(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c || !window)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const uint32_t everyDesktop = 0xFFFFFFFF;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, x11Atom(c, "_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &everyDesktop);
    appendAtoms(window, "_NET_WM_STATE", {x11Atom(c, "_NET_WM_STATE_STICKY")});
}

xcb_screen_t* x11Screen(xcb_connection_t* c, int number) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it))
        if (i == number)
            return it.data;
    return nullptr;
}

void x11HearStructureOf(xcb_connection_t* c, xcb_window_t window) {
    uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    if (attributes)
        mask |= attributes->your_event_mask;
    free(attributes);
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
}

int x11DefaultScreenNumber() {
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.indexOf('.', colon);
    if (colon < 0 || dot < 0)
        return 0;
    bool ok = false;
    const int number = display.mid(dot + 1).toInt(&ok);
    return ok && number >= 0 ? number : 0;
}

} // namespace pw::app
