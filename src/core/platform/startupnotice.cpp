#include "platform/startupnotice.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace quorvane {

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return value;
}

// A value in quotes, with its quotes and backslashes escaped.
QByteArray quoted(const QString &value)
{
    QByteArray out = "\"";
    for (const char c : value.toUtf8()) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

} // namespace

void completeStartup(const QString &startupId)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (startupId.isEmpty() || !x11)
        return;
    xcb_connection_t *connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // The message, with its closing NUL, goes to the root window in pieces
    // of 20 bytes: the first marked as the beginning, the rest as following.
    const QByteArray message = "remove: ID=" + quoted(startupId) + '\0';
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = root;
    event.type = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t following = atom(connection, "_NET_STARTUP_INFO");
    for (qsizetype sent = 0; sent < message.size(); sent += 20) {
        std::memset(event.data.data8, 0, sizeof event.data.data8);
        std::memcpy(event.data.data8, message.constData() + sent,
                    size_t(std::min<qsizetype>(20, message.size() - sent)));
        xcb_send_event(connection, false, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char *>(&event));
        event.type = following;
    }
    xcb_flush(connection);
}

} // namespace quorvane

namespace quorvane {

void flushDisplay()
{
    // The offscreen platform answers as X11 too, without a connection.
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (xcb_connection_t *connection = x11 ? x11->connection() : nullptr)
        xcb_flush(connection);
}

} // namespace quorvane
