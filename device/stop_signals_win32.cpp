#include "device/stop_signals.h"

#include "device/stop_signals_state.h"

#include <csignal>

#include <windows.h>

namespace tarvenor {
namespace {

using namespace stop_signals::detail;

// Set for good by the first signal: every watch sees it.
HANDLE signalled = nullptr;

// The bound of a shutdown: whoever runs this ends the process when the time is up.
[[noreturn]] void end_after_limit(int signal) {
    ::Sleep(static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(stop_signals::kShutdownLimit)
            .count()));
    end_now(signal);
}

// Runs on a thread the system starts for the event. The system ends the process when a close,
// logoff or shutdown handler returns, so the handler's thread keeps the bound itself.
BOOL WINAPI on_console_event(DWORD event) {
    const int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    take_signal(signal);
    ::SetEvent(signalled);
    end_after_limit(signal);
}

} // namespace

bool stop_signals::detail::install_handlers() {
    signalled = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return signalled != nullptr && ::SetConsoleCtrlHandler(on_console_event, TRUE) != 0;
}

namespace stop_signals {

void bound_shutdown() {
    if (!shutting_down.exchange(true)) {
        std::thread([] { end_after_limit(SIGTERM); }).detach();
    }
}

} // namespace stop_signals

struct StopSignalWatch::Wake {
    HANDLE event = nullptr;
};

StopSignalWatch::StopSignalWatch(std::function<void(int)> on_signal)
    : on_signal_(std::move(on_signal)), wake_(std::make_unique<Wake>()) {
    wake_->event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (wake_->event != nullptr) {
        thread_ = std::thread([this] { watch(); });
    }
}

StopSignalWatch::~StopSignalWatch() {
    if (thread_.joinable()) {
        ::SetEvent(wake_->event);
        thread_.join();
    }
    if (wake_->event != nullptr) {
        ::CloseHandle(wake_->event);
    }
}

void StopSignalWatch::watch() {
    if (signalled == nullptr) {
        ::WaitForSingleObject(wake_->event, INFINITE);
        return;
    }
    const HANDLE events[2] = {signalled, wake_->event};
    if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) {
        on_signal_(stop_signals::received());
    }
}

} // namespace tarvenor
