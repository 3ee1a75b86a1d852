#pragma once

#include <atomic>

// What the platform's signal handlers and the shared part of stop_signals have in common. Only
// lock-free atomics: the handlers touch them.
namespace tarvenor::stop_signals::detail {

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

extern std::atomic<int> first_signal;
extern std::atomic<bool> shutting_down;

// Installs the platform's handlers; called once.
bool install_handlers();
// In a handler: records the first stop signal; a later one, or one after the shutdown began
// without a signal, ends the process at once.
void take_signal(int signal);
// Ends the process at once with 128 + the signal.
[[noreturn]] void end_now(int signal);

} // namespace tarvenor::stop_signals::detail
