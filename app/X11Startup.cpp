#include "X11Startup.h"

#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <cstring>

#include <xcb/xcb.h>

namespace
{
xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// The launch's time, from the "_TIME<n>" that ends its id; 0 without one.
uint32_t LaunchTime(const QByteArray& startupId)
{
    const int at = startupId.lastIndexOf("_TIME");
    bool ok = false;
    const uint32_t time = at < 0 ? 0 : startupId.mid(at + 5).toUInt(&ok);
    return ok ? time : 0;
}

void Send(xcb_connection_t* connection, xcb_window_t root, uint32_t mask, const xcb_client_message_event_t& event)
{
    xcb_send_event(connection, 0, root, mask, reinterpret_cast<const char*>(&event));
}

xcb_client_message_event_t Message(xcb_window_t window, xcb_atom_t type, uint8_t format)
{
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = format;
    event.window = window;
    event.type = type;
    return event;
}
}

void X11Startup::Complete(QWidget& window, const QByteArray& startupId)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || startupId.isEmpty() || !window.isVisible())
        return;
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto id = xcb_window_t(window.window()->winId());

    // Window managers that guard the focus let a window take it when asked
    // with the time of the click that launched it.
    if (const uint32_t time = LaunchTime(startupId)) {
        auto activate = Message(id, Atom(connection, "_NET_ACTIVE_WINDOW"), 32);
        activate.data.data32[0] = 1;  // asked by an application
        activate.data.data32[1] = time;
        Send(connection, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT, activate);
    }

    // The startup-notification "remove" message, in pieces of 20 bytes, the
    // first under its own type, ending with a zero byte.
    QByteArray quoted = startupId;
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    const QByteArray text = "remove: ID=\"" + quoted + "\"" + QByteArray(1, '\0');
    const xcb_atom_t begin = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = Atom(connection, "_NET_STARTUP_INFO");
    for (int offset = 0; offset < text.size(); offset += 20) {
        auto piece = Message(id, offset == 0 ? begin : more, 8);
        std::memcpy(piece.data.data8, text.constData() + offset, size_t(qMin(20, int(text.size()) - offset)));
        Send(connection, root, XCB_EVENT_MASK_PROPERTY_CHANGE, piece);
    }
    xcb_flush(connection);
}
