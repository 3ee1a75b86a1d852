#include "device/exchange_guard.h"

#include <cstdio>
#include <cstdlib>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TARVENOR_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TARVENOR_SANITIZED 1
#endif

namespace tarvenor {
namespace {

#if !defined(NDEBUG) || defined(TARVENOR_SANITIZED)
constexpr bool kChecksEnabled = true;
#else
constexpr bool kChecksEnabled = false;
#endif

thread_local const char* t_forbidden_thread = nullptr;

} // namespace

bool exchange_thread_checks_enabled() {
    return kChecksEnabled;
}

void forbid_exchanges_on_this_thread(const char* thread_name) {
    t_forbidden_thread = thread_name;
}

void check_exchange_allowed(std::uint8_t command) {
    if (kChecksEnabled && t_forbidden_thread != nullptr) {
        std::fprintf(stderr,
                     "tarvenor: exchange of keyboard command %u called on the %s; keyboard work "
                     "belongs on the device worker\n",
                     static_cast<unsigned>(command), t_forbidden_thread);
        std::abort();
    }
}

} // namespace tarvenor
