#pragma once

#include "device/commands.h"
#include "device/connection_sink.h"
#include "device/device_facts.h"
#include "device/device_link.h"
#include "device/service_library.h"

#include <memory>
#include <string_view>

namespace tarvenor::cli {

// A connection to the keyboard for one command-line run: the loaded service library, the link
// and the command set.
class DeviceSession {
public:
    // Prints the reason on standard error and sets the exit code when there is no library or no
    // keyboard.
    static std::unique_ptr<DeviceSession> open(int& exit_code);

    int keyboards() const { return keyboards_; }
    CommandSet& commands() { return commands_; }

private:
    // A single run reads what it needs when it starts and ends; later plugging, unplugging and
    // keyboard events do not concern it.
    class IgnoringSink final : public ConnectionSink {
    public:
        void connection_changed(int) override {}
        void consumer_code(std::uint16_t) override {}
    };

    explicit DeviceSession(std::unique_ptr<ServiceLibrary> library);

    std::unique_ptr<ServiceLibrary> library_;
    IgnoringSink sink_;
    DeviceLink link_;
    DeviceFacts facts_;
    CommandSet commands_;
    int keyboards_ = 0;
};

// Prints what failed and gives the exit code for a failed device operation.
int device_failure(std::string_view what, DeviceStatus status);

} // namespace tarvenor::cli
