#pragma once

#include <cstdint>

namespace tarvenor {

// Receives what the keyboard reports by itself. Both calls come on the service library's thread:
// an implementation hands the work on and returns at once (it must not wait for an exchange).
class ConnectionSink {
public:
    virtual ~ConnectionSink() = default;
    // The number of connected keyboards changed.
    virtual void connection_changed(int device_count) = 0;
    // A 16-bit code from the keyboard's consumer interface (bank switch, refresh, indicator).
    virtual void consumer_code(std::uint16_t code) = 0;
};

} // namespace tarvenor
