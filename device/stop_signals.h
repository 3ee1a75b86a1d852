#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace tarvenor {

// Ending the process by a signal as a clean shutdown: SIGTERM, SIGINT and SIGHUP (on Windows the
// console's Ctrl+C, Ctrl+Break, close, logoff and shutdown events) are taken by a handler that
// only records the signal and wakes the watches; the owner then runs its own orderly exit. From
// the first signal on the shutdown is bounded: a second signal, or kShutdownLimit passing, ends
// the process at once with exit code 128 + the signal.
namespace stop_signals {

inline constexpr std::chrono::seconds kShutdownLimit{3};

// Installs the handlers; once per process is enough, more calls do nothing. False when the
// system refused (the default actions then stay).
bool install();
// The first stop signal this process received, 0 while none came.
int received();
// Starts the bound without a signal, for a shutdown the desktop session asked for. Does nothing
// when the bound already runs.
void bound_shutdown();
// The exit code for a run ended by `signal`.
constexpr int exit_code(int signal) {
    return 128 + signal;
}

} // namespace stop_signals

// Calls `on_signal` once, on a thread of its own, with the first stop signal: at once when one
// came before the watch began. The call should only hand the news on (set a flag, queue a call).
class StopSignalWatch {
public:
    explicit StopSignalWatch(std::function<void(int signal)> on_signal);
    StopSignalWatch(const StopSignalWatch&) = delete;
    StopSignalWatch& operator=(const StopSignalWatch&) = delete;
    // Returns once the watch has ended: `on_signal` is not called after this.
    ~StopSignalWatch();

private:
    struct Wake; // how the destructor wakes the watching thread; the platform's own

    void watch();

    std::function<void(int)> on_signal_;
    std::unique_ptr<Wake> wake_;
    std::thread thread_;
};

} // namespace tarvenor
