#pragma once

#include "device/commands.h"
#include "device/keyboard_session.h"
#include "device/stop_signals.h"

#include <memory>
#include <string_view>

namespace tarvenor::cli {

// The keyboard for one command-line run: a keyboard session that learns the keyboard present at
// start and holds the keyboard lock until the run ends, so that no other program talks to the
// keyboard in between. Later plugging, unplugging and keyboard events do not concern it.
// SIGINT, SIGTERM and SIGHUP stop the keyboard's work at its next command (an open transfer is
// still closed); the command then fails as interrupted and the lock is let go as usual.
class DeviceSession {
public:
    // Prints the reason on standard error and sets the exit code when there is no library, the
    // keyboard is busy with another program, or there is no keyboard.
    static std::unique_ptr<DeviceSession> open(int& exit_code);
    ~DeviceSession();

    int keyboards() const { return keyboards_; }
    CommandSet& commands() { return session_->commands(); }

private:
    // The run reads what it needs itself; the session's reports are not needed.
    class QuietObserver final : public SessionObserver {
    public:
        void keyboard_arrived(CommandSet&, bool) override {}
        void keyboard_gone() override {}
        void connection_count_changed(int) override {}
        void open_requested() override {}
        void bank_switched(int) override {}
        void lighting_refresh_requested() override {}
        void indicator_changed(bool) override {}
    };

    DeviceSession() = default;

    QuietObserver observer_;
    std::unique_ptr<KeyboardSession> session_;
    // After the session: it goes first, while the session it stops is still there.
    std::unique_ptr<StopSignalWatch> stop_watch_;
    int keyboards_ = 0;
};

// Prints what failed and gives the exit code for a failed device operation.
int device_failure(std::string_view what, DeviceStatus status);

// The exit code of a run: a command a stop signal cut short ends with 128 + the signal.
int exit_code_after_signals(int exit_code);

} // namespace tarvenor::cli
