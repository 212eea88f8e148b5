#include "app/xembed_tray_icon.h"

#include "app/x11_hints.h"
#include "ui/opaque_blend.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QToolTip>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace pw::app {
namespace {

// From the system tray and XEmbed protocols.
constexpr uint32_t kSystemTrayRequestDock = 0;
constexpr uint32_t kXembedVersion = 0;
constexpr uint32_t kXembedMapped = 1;
constexpr uint32_t kMinSizeHint = 1 << 4; // PMinSize in WM_NORMAL_HINTS
constexpr int kDefaultSlotPixels = 22;
constexpr int kToolTipDelayMs = 700;

xcb_window_t selectionOwner(xcb_connection_t* c, xcb_atom_t selection) {
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const xcb_window_t owner = reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
    std::free(reply);
    return owner;
}

// The visual the tray asks its icons to use, when it names one.
xcb_visualid_t trayVisual(xcb_connection_t* c, xcb_window_t owner) {
    const xcb_atom_t name = x11Atom(c, "_NET_SYSTEM_TRAY_VISUAL");
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, owner, name, XCB_ATOM_VISUALID, 0, 1), nullptr);
    xcb_visualid_t visual = 0;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        std::memcpy(&visual, xcb_get_property_value(reply), sizeof visual);
    std::free(reply);
    return visual;
}

uint8_t depthOfVisual(const xcb_screen_t* screen, xcb_visualid_t visual) {
    for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen); d.rem > 0;
         xcb_depth_next(&d))
        for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem > 0;
             xcb_visualtype_next(&v))
            if (v.data->visual_id == visual)
                return d.data->depth;
    return 0;
}

// Frames go out as 32-bit little-endian pixels, which is how QImage holds
// them on this machine; any other server layout would need converting.
bool serverTakesOurPixels(xcb_connection_t* c, uint8_t depth) {
    if (Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        return false;
    const xcb_setup_t* setup = xcb_get_setup(c);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return false;
    for (xcb_format_iterator_t f = xcb_setup_pixmap_formats_iterator(setup); f.rem > 0;
         xcb_format_next(&f))
        if (f.data->depth == depth)
            return f.data->bits_per_pixel == 32 && f.data->scanline_pad == 32;
    return false;
}

void replaceProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type,
                     uint8_t format, uint32_t count, const void* data) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, name, type, format, count, data);
}

qreal deviceRatio() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

} // namespace

std::unique_ptr<XembedTrayIcon> XembedTrayIcon::dock(QObject* parent) {
    if (!onX11() || !x11Connection())
        return nullptr;
    std::unique_ptr<XembedTrayIcon> icon(new XembedTrayIcon);
    icon->setParent(parent);
    if (!icon->create())
        return nullptr;
    QCoreApplication::instance()->installNativeEventFilter(icon.get());
    icon->m_toolTipDelay.setSingleShot(true);
    icon->m_toolTipDelay.setInterval(kToolTipDelayMs);
    connect(&icon->m_toolTipDelay, &QTimer::timeout, icon.get(), [raw = icon.get()] {
        const QString text = raw->m_toolTipSource ? raw->m_toolTipSource() : QString();
        if (!text.isEmpty())
            QToolTip::showText(QCursor::pos(), text);
    });
    return icon;
}

XembedTrayIcon::~XembedTrayIcon() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
    destroyWindow();
}

bool XembedTrayIcon::create() {
    xcb_connection_t* c = x11Connection();
    xcb_screen_t* screen = x11Screen(c, x11DefaultScreenNumber());
    if (!screen)
        return false;
    m_selection = x11Atom(
        c, ("_NET_SYSTEM_TRAY_S" + QByteArray::number(x11DefaultScreenNumber())).constData());
    m_manager = x11Atom(c, "MANAGER");
    m_opcode = x11Atom(c, "_NET_SYSTEM_TRAY_OPCODE");
    const xcb_window_t owner = selectionOwner(c, m_selection);
    if (owner == XCB_WINDOW_NONE)
        return false;

    // An ARGB visual lets the tray blend the icon itself.
    xcb_visualid_t visual = trayVisual(c, owner);
    m_argb = visual != 0 && depthOfVisual(screen, visual) == 32;
    if (!m_argb)
        visual = screen->root_visual;
    m_depth = m_argb ? 32 : screen->root_depth;
    if (!serverTakesOurPixels(c, m_depth))
        return false;

    // Values in the order of their mask bits.
    uint32_t mask = XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK;
    uint32_t values[4];
    int n = 0;
    if (m_argb) {
        mask |= XCB_CW_BACK_PIXEL | XCB_CW_COLORMAP;
        values[n++] = 0; // transparent
    } else {
        mask |= XCB_CW_BACK_PIXMAP;
        values[n++] = XCB_BACK_PIXMAP_PARENT_RELATIVE; // the tray shows through
    }
    values[n++] = 0; // border
    values[n++] = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                  XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_ENTER_WINDOW |
                  XCB_EVENT_MASK_LEAVE_WINDOW;
    if (m_argb) {
        m_colormap = xcb_generate_id(c);
        xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, m_colormap, screen->root, visual);
        values[n++] = m_colormap;
    }
    m_window = xcb_generate_id(c);
    const auto startSide = uint16_t(qRound(kDefaultSlotPixels * deviceRatio()));
    xcb_create_window(c, m_depth, m_window, screen->root, 0, 0, startSide, startSide, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, visual, mask, values);
    m_gc = xcb_generate_id(c);
    xcb_create_gc(c, m_gc, m_window, 0, nullptr);

    // The tray maps the icon once it is embedded; we never map it ourselves,
    // so no window manager frames it first.
    const uint32_t info[2] = {kXembedVersion, kXembedMapped};
    const xcb_atom_t xembedInfo = x11Atom(c, "_XEMBED_INFO");
    replaceProperty(c, m_window, xembedInfo, xembedInfo, 32, 2, info);
    // GTK-based trays size the socket from the icon's minimum size.
    const uint32_t side = uint32_t(qRound(kDefaultSlotPixels * deviceRatio()));
    uint32_t sizeHints[18] = {};
    sizeHints[0] = kMinSizeHint;
    sizeHints[5] = sizeHints[6] = side;
    replaceProperty(c, m_window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18,
                    sizeHints);
    static const char kName[] = "Pulsewick";
    replaceProperty(c, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof kName - 1, kName);
    static const char kClass[] = "pulsewick\0Pulsewick";
    replaceProperty(c, m_window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof kClass, kClass);

    x11HearStructureOf(c, screen->root);  // a new tray announces itself there
    m_slot = QSize(startSide, startSide); // until the tray resizes it
    m_background = QImage();
    m_exposed = false;

    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = owner;
    request.type = m_opcode;
    request.data.data32[0] = XCB_CURRENT_TIME;
    request.data.data32[1] = kSystemTrayRequestDock;
    request.data.data32[2] = m_window;
    xcb_send_event(c, 0, owner, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    return true;
}

void XembedTrayIcon::destroyWindow() {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return;
    if (m_gc)
        xcb_free_gc(c, m_gc);
    if (m_window)
        xcb_destroy_window(c, m_window);
    if (m_colormap)
        xcb_free_colormap(c, m_colormap);
    m_gc = m_window = m_colormap = 0;
    xcb_flush(c);
}

QRect XembedTrayIcon::geometry() const {
    xcb_connection_t* c = x11Connection();
    xcb_screen_t* screen = c ? x11Screen(c, x11DefaultScreenNumber()) : nullptr;
    if (!screen || !m_window || m_slot.isEmpty())
        return {};
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, m_window, screen->root, 0, 0), nullptr);
    if (!reply)
        return {};
    const qreal dpr = deviceRatio();
    const QRect logical((QPointF(reply->dst_x, reply->dst_y) / dpr).toPoint(),
                        (QSizeF(m_slot) / dpr).toSize());
    std::free(reply);
    return logical;
}

bool XembedTrayIcon::setImage(const QImage& image) {
    if (image == m_image)
        return false;
    // Into the pixels kept from the last frame when it fits: no allocation,
    // and the caller's image is never shared.
    if (m_image.size() == image.size() && m_image.format() == image.format() &&
        m_image.bytesPerLine() == image.bytesPerLine())
        std::memcpy(m_image.bits(), image.constBits(), std::size_t(image.sizeInBytes()));
    else
        m_image = image.copy();
    putFrame();
    return true;
}

void XembedTrayIcon::fetchBackground() {
    xcb_connection_t* c = x11Connection();
    m_background = QImage();
    if (!c || !m_window || m_slot.isEmpty())
        return;
    // Clearing paints the tray's background into the window (it is
    // parent-relative); reading it back gives what to blend over.
    xcb_clear_area(c, 0, m_window, 0, 0, 0, 0);
    const int w = m_slot.width(), h = m_slot.height();
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, 0, 0, w, h, ~0u), nullptr);
    if (!reply)
        return;
    const int length = xcb_get_image_data_length(reply);
    if (reply->depth == m_depth && length >= w * h * 4) {
        QImage background(w, h, QImage::Format_RGB32);
        const uint8_t* data = xcb_get_image_data(reply);
        for (int y = 0; y < h; ++y)
            std::memcpy(background.scanLine(y), data + std::size_t(y) * w * 4, std::size_t(w) * 4);
        m_background = background;
    }
    std::free(reply);
}

void XembedTrayIcon::putFrame() {
    xcb_connection_t* c = x11Connection();
    if (!c || !m_window || m_slot.isEmpty() || m_image.isNull() || !m_exposed)
        return;
    QImage frame = m_image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (frame.size() != m_slot)
        frame = frame.scaled(m_slot, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!m_argb) {
        // Without an alpha channel the blending happens here, into an image
        // kept from frame to frame.
        if (m_blended.size() != m_slot)
            m_blended = QImage(m_slot, QImage::Format_RGB32);
        if (m_background.size() == m_slot)
            ui::blendOverOpaque(frame, m_background, m_blended);
        else
            ui::blendOverColor(frame, QGuiApplication::palette().color(QPalette::Window).rgb(),
                               m_blended);
        frame = m_blended;
    }
    // One request per band of rows that fits the server's request limit.
    const std::size_t rowBytes = std::size_t(frame.width()) * 4;
    const std::size_t limitBytes = std::size_t(xcb_get_maximum_request_length(c)) * 4;
    const int rowsPerRequest =
        std::max<int>(1, int((limitBytes > 64 ? limitBytes - 64 : 0) / rowBytes));
    for (int y = 0; y < frame.height(); y += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, frame.height() - y);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, m_gc, uint16_t(frame.width()),
                      uint16_t(rows), 0, int16_t(y), 0, m_depth, uint32_t(rowBytes * rows),
                      frame.constScanLine(y));
    }
    xcb_flush(c);
    ++m_framesPut;
}

bool XembedTrayIcon::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_CONFIGURE_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (e->window != m_window || !m_window)
            return false;
        const QSize slot(e->width, e->height);
        if (slot != m_slot) {
            m_slot = slot;
            m_background = QImage();
            Q_EMIT slotChanged(m_slot); // the owner draws a frame for the new size
        }
        return false;
    }
    case XCB_EXPOSE: {
        const auto* e = reinterpret_cast<const xcb_expose_event_t*>(event);
        if (e->window != m_window || !m_window || e->count != 0)
            return false;
        m_exposed = true;
        if (!m_argb)
            fetchBackground();
        putFrame();
        return true;
    }
    case XCB_UNMAP_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_unmap_notify_event_t*>(event);
        if (e->window == m_window && m_window)
            m_exposed = false; // nothing to read back or draw until mapped again
        return false;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        if (e->window == m_window && m_window) {
            m_window = 0;
            m_exposed = false;
        }
        return false;
    }
    case XCB_BUTTON_PRESS: {
        const auto* e = reinterpret_cast<const xcb_button_press_event_t*>(event);
        if (e->event != m_window || !m_window)
            return false;
        m_toolTipDelay.stop();
        QToolTip::hideText();
        if (e->detail == 1)
            Q_EMIT clicked(Qt::LeftButton);
        else if (e->detail == 2)
            Q_EMIT clicked(Qt::MiddleButton);
        else if (e->detail == 3)
            Q_EMIT clicked(Qt::RightButton);
        return true;
    }
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_enter_notify_event_t*>(event);
        if (e->event != m_window || !m_window)
            return false;
        if ((event->response_type & 0x7f) == XCB_ENTER_NOTIFY) {
            m_toolTipDelay.start();
        } else {
            m_toolTipDelay.stop();
            QToolTip::hideText();
        }
        return true;
    }
    case XCB_CLIENT_MESSAGE: {
        const auto* e = reinterpret_cast<const xcb_client_message_event_t*>(event);
        // A tray that starts (or restarts) takes the selection: dock with it.
        if (e->type == m_manager && e->format == 32 && e->data.data32[1] == m_selection) {
            destroyWindow();
            create();
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace pw::app
