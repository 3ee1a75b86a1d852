#include "device/stop_signals.h"

#include "device/stop_signals_state.h"

#include <cstdlib>
#include <mutex>

namespace tarvenor::stop_signals {

namespace detail {

std::atomic<int> first_signal{0};
std::atomic<bool> shutting_down{false};

void take_signal(int signal) {
    if (shutting_down.exchange(true)) {
        end_now(signal);
    }
    first_signal.store(signal);
}

void end_now(int signal) {
    std::_Exit(exit_code(signal));
}

} // namespace detail

bool install() {
    static std::once_flag once;
    static bool installed = false;
    std::call_once(once, [] { installed = detail::install_handlers(); });
    return installed;
}

int received() {
    return detail::first_signal.load();
}

} // namespace tarvenor::stop_signals
