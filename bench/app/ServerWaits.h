// ServerWaits.h: the time the program waits for the X server's answers. This binary defines
// the reply calls a frame can make itself (the key map's, and the input focus's that Qt and the
// shared images use to learn that the server has read an image), ahead of libxcb's, and times
// each on the thread that started the timing, while it runs.
#pragma once

namespace bench {

class ServerWaitTiming {
public:
    ServerWaitTiming();  // starts from 0, on this thread
    ~ServerWaitTiming();
    ServerWaitTiming(const ServerWaitTiming&) = delete;
    ServerWaitTiming& operator=(const ServerWaitTiming&) = delete;

    double milliseconds() const noexcept;
};

}  // namespace bench
