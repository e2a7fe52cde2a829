// SettleMarker.h: tells when all that the test's client has sent has reached the program.
// The server handles the client's requests in order and sends one connection its events in
// order; so a marker the client sends after some input reaches the program's connection
// behind that input's events. Qt reads them on a thread of its own, though, and hands them
// to the main thread later: the marker is seen only once the main thread takes it from Qt's
// queue, by an event filter in the program. It is a client message to a window the program's
// connection owns, unknown to Qt, and the filter keeps it from Qt's windows.
//
//   SettleMarker marker(appConnection());
//   const auto sent = marker.send(client);     // after the client's input
//   waitFor([&] { return marker.seen(sent); });
#pragma once

#include <cstdint>

#include <QAbstractNativeEventFilter>

struct xcb_connection_t;

namespace test::x11 {

class XClient;

class SettleMarker final : public QAbstractNativeEventFilter {
public:
    // Makes the marker's window on the program's connection and filters its events.
    explicit SettleMarker(xcb_connection_t* program);
    ~SettleMarker() override;
    SettleMarker(const SettleMarker&) = delete;
    SettleMarker& operator=(const SettleMarker&) = delete;

    // Sends the next marker through the client; returns its number.
    std::uint32_t send(XClient& client);
    // The program has taken this marker, or a later one, from Qt's queue.
    bool seen(std::uint32_t number) const noexcept { return lastSeen_ >= number; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    xcb_connection_t* connection_;
    std::uint32_t window_ = 0;
    std::uint32_t type_ = 0;  // the marker's atom
    std::uint32_t sent_ = 0;
    std::uint32_t lastSeen_ = 0;
};

}  // namespace test::x11
