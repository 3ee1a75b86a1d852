#include "peak_memory.h"

#include <sys/resource.h>

namespace tarvenor::testing {

long peak_memory_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace tarvenor::testing
