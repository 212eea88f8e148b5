#include "app/xembed_tray_selection.h"

#include "app/x11_hints.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace pw::app {

XembedTraySelection::XembedTraySelection(QObject* parent) : QObject(parent) {
    xcb_connection_t* c = onX11() ? x11Connection() : nullptr;
    if (!c)
        return;
    const int screenNumber = x11DefaultScreenNumber();
    m_selection = x11Atom(c, ("_NET_SYSTEM_TRAY_S" + QByteArray::number(screenNumber)).constData());
    m_manager = x11Atom(c, "MANAGER");
    if (xcb_screen_t* screen = x11Screen(c, screenNumber))
        x11HearStructureOf(c, screen->root); // where MANAGER is announced
    QCoreApplication::instance()->installNativeEventFilter(this);
    refreshOwner();
}

XembedTraySelection::~XembedTraySelection() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

void XembedTraySelection::refreshOwner() {
    xcb_connection_t* c = x11Connection();
    if (!c || m_selection == XCB_ATOM_NONE)
        return;
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_selection), nullptr);
    const xcb_window_t owner = reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
    std::free(reply);
    follow(owner);
}

void XembedTraySelection::follow(std::uint32_t window) {
    if (window == m_owner)
        return;
    const bool was = present();
    m_owner = window;
    if (m_owner != XCB_WINDOW_NONE)
        x11HearStructureOf(x11Connection(), m_owner); // to hear it destroyed
    if (present() != was)
        Q_EMIT presenceChanged(present());
}

bool XembedTraySelection::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message || m_selection == XCB_ATOM_NONE)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
        const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (m->type == m_manager && m->format == 32 && m->data.data32[1] == m_selection)
            follow(m->data.data32[2]);
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* d = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        // Another tray may already have taken the selection over.
        if (m_owner != XCB_WINDOW_NONE && d->window == m_owner) {
            m_owner = XCB_WINDOW_NONE;
            refreshOwner();
            if (!present())
                Q_EMIT presenceChanged(false);
        }
        break;
    }
    default:
        break;
    }
    return false; // Qt still sees every event
}

} // namespace pw::app
