#include "SettleMarker.h"

#include <cstdlib>
#include <cstring>

#include <QCoreApplication>

#include <xcb/xcb.h>

#include "XClient.h"

namespace test::x11 {
namespace {

constexpr char kMarkerName[] = "_ORVEK_TEST_SETTLED";

}  // namespace

SettleMarker::SettleMarker(xcb_connection_t* program) : connection_(program) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    // The reply comes after the window exists: the client may send to it from then on.
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection_, 0, std::strlen(kMarkerName), kMarkerName);
    if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr)) {
        type_ = reply->atom;
        std::free(reply);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
}

SettleMarker::~SettleMarker() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
    xcb_destroy_window(connection_, window_);
    xcb_flush(connection_);
}

std::uint32_t SettleMarker::send(XClient& client) {
    client.sendMessage(window_, kMarkerName, ++sent_);
    return sent_;
}

bool SettleMarker::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // A sent event has the top bit of its type set.
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
    const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
    if (client->window != window_ || client->type != type_) return false;
    lastSeen_ = client->data.data32[0];
    return true;
}

}  // namespace test::x11
