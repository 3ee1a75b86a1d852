#pragma once

namespace tarvenor::testing {

// The largest amount of memory the test process has held so far, in KiB.
long peak_memory_kib();

} // namespace tarvenor::testing
