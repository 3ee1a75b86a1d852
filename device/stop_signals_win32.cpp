#include "device/stop_signals.h"

#include <atomic>
#include <csignal>
#include <mutex>
#include <stdlib.h>

#include <windows.h>

namespace tarvenor {
namespace {

std::atomic<int> first_signal{0};
std::atomic<bool> shutting_down{false};
// Set for good by the first signal: every watch sees it.
HANDLE signalled = nullptr;

[[noreturn]] void end_now(int signal) {
    ::_exit(stop_signals::exit_code(signal));
}

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
    if (shutting_down.exchange(true)) {
        end_now(signal);
    }
    first_signal.store(signal);
    ::SetEvent(signalled);
    end_after_limit(signal);
}

bool install_once() {
    signalled = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return signalled != nullptr && ::SetConsoleCtrlHandler(on_console_event, TRUE) != 0;
}

} // namespace

namespace stop_signals {

bool install() {
    static std::once_flag once;
    static bool installed = false;
    std::call_once(once, [] { installed = install_once(); });
    return installed;
}

int received() {
    return first_signal.load();
}

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
