// Measures what one exchange costs when the keyboard answers at once: a full macro-area write and
// read against the virtual keyboard with zero latency, first with the threads on any core, then
// with every thread on one core. Each exchange hands the request to the keyboard's thread and the
// answer back; on an idle virtual machine, waking a halted processor for each hand-over costs more
// than the exchange itself, which the second figure shows without it.
#include "device/commands.h"
#include "device/device_link.h"
#include "device/service_library.h"

#include <sched.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

namespace {

using namespace tarvenor;
using Clock = std::chrono::steady_clock;

class NoEvents final : public ConnectionSink {
public:
    void connection_changed(int) override {}
    void consumer_code(std::uint16_t) override {}
};

constexpr int kRounds = 5;
constexpr int kLargestMacroUnits = 255; // the parameter byte's largest value

void print_figures(const char* what, std::size_t bytes, std::size_t exchanges,
                   Clock::duration elapsed) {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    std::printf(
        "%-18s %6zu bytes  %5zu exchanges  %8.2f ms  %9.0f exchanges/s  %7.1f us/exchange\n", what,
        bytes, exchanges, seconds * 1e3, exchanges / seconds, seconds * 1e6 / exchanges);
}

int run(const char* cores) {
    char folder[] = "/tmp/tarvenor-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    ::setenv("TARVENOR_SIM_DIR", folder, 1);
    ::unsetenv("TARVENOR_SIM_TRAFFIC");
    ::unsetenv("TARVENOR_SIM_LATENCY_MS");
    ::unsetenv("TARVENOR_SIM_FAULT");
    ::unsetenv("TARVENOR_SIM_UNPLUGGED");

    std::string error;
    const auto library = ServiceLibrary::load(program_folder() / "libHidServSim.so", error);
    if (!library) {
        std::fprintf(stderr, "bench_exchange: %s\n", error.c_str());
        return 1;
    }
    NoEvents sink;
    DeviceLink link(library->functions(), sink);
    DeviceFacts facts;
    CommandSet commands(link.exchange(), facts);
    if (link.start() == 0) {
        std::fprintf(stderr, "bench_exchange: the virtual keyboard is not connected\n");
        return 1;
    }

    ParameterBlock parameters{};
    commands.read_parameters(parameters);
    parameters[kMacroSpaceByte] = kLargestMacroUnits;
    commands.write_parameters(parameters);
    commands.read_macro_space();

    std::vector<std::uint8_t> area(static_cast<std::size_t>(facts.macro_space()));
    std::iota(area.begin(), area.end(), 0);
    std::vector<std::uint8_t> read_back(area.size());
    const std::size_t exchanges = (area.size() + kReportDataSize - 1) / kReportDataSize;

    Clock::duration writing{}, reading{};
    for (int round = 0; round < kRounds; ++round) {
        const auto began = Clock::now();
        const DeviceStatus written = commands.write_macro_area(area);
        const auto wrote = Clock::now();
        const DeviceStatus read = commands.read_macro_area(read_back);
        reading += Clock::now() - wrote;
        writing += wrote - began;
        if (written != DeviceStatus::Success || read != DeviceStatus::Success ||
            read_back != area) {
            std::fprintf(stderr, "bench_exchange: the transfer failed (%d, %d)\n",
                         status_code(written), status_code(read));
            return 1;
        }
    }
    std::printf("macro area of %zu bytes, %d rounds, virtual keyboard with zero latency, %s\n",
                area.size(), kRounds, cores);
    print_figures("write_macro_area", area.size(), exchanges * kRounds, writing);
    print_figures("read_macro_area", area.size(), exchanges * kRounds, reading);
    print_figures("both", 2 * area.size(), 2 * exchanges * kRounds, writing + reading);
    std::filesystem::remove_all(folder);
    return 0;
}

} // namespace

// The threads started from here on (the virtual keyboard's, the link's) inherit it.
bool keep_to_one_core() {
    cpu_set_t cores;
    CPU_ZERO(&cores);
    if (::sched_getaffinity(0, sizeof(cores), &cores) != 0) {
        return false;
    }
    for (int core = 0; core < CPU_SETSIZE; ++core) {
        if (CPU_ISSET(core, &cores)) {
            CPU_ZERO(&cores);
            CPU_SET(core, &cores);
            return ::sched_setaffinity(0, sizeof(cores), &cores) == 0;
        }
    }
    return false;
}

int main() {
    if (const int failed = run("threads on any core"); failed != 0) {
        return failed;
    }
    if (!keep_to_one_core()) {
        std::perror("bench_exchange: sched_setaffinity");
        return 1;
    }
    return run("every thread on one core");
}
