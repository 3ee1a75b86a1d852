#include "peak_memory.h"

#include <windows.h>

#include <psapi.h>

namespace tarvenor::testing {

long peak_memory_kib() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

} // namespace tarvenor::testing
