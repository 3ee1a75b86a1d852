// Measures a full download (macro block and all three profiles) against the virtual keyboard
// with its largest macro memory, filled exactly by the macros, and checks that it takes exactly
// one exchange per report the protocol needs: 1 + ceil(size / 56) + 7 * profiles + 1. The
// exchanges are counted in the keyboard's traffic log, not derived from the sizes.
#include "device/commands.h"
#include "device/device_link.h"
#include "device/macro_download.h"
#include "device/service_library.h"
#include "model/macro_block.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace {

using namespace tarvenor;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5;
constexpr std::uint8_t kLargestMacroUnits = 255;
constexpr std::size_t kMacroCount = 8;
constexpr std::size_t kNameLength = 10;

class NoEvents final : public ConnectionSink {
public:
    void connection_changed(int) override {}
    void consumer_code(std::uint16_t) override {}
};

class PrintedMessages final : public MessageSink {
public:
    void show(Message, const std::string& text) override {
        std::fprintf(stderr, "bench_download: %s\n", text.c_str());
    }
};

// Macros whose block, names included, is exactly `space` bytes: each macro takes 4 bytes, its
// name and 2 bytes of offset table, the rest of the space after the 16-byte header is actions.
MacroStore macros_filling(std::size_t space) {
    const std::size_t fixed = 16 + kMacroCount * (2 + 4 + 2 * kNameLength);
    const std::size_t actions = (space - fixed) / 4;
    MacroStore macros;
    for (std::size_t i = 0; i < kMacroCount; ++i) {
        MacroRecord macro;
        macro.id = static_cast<std::uint16_t>(i + 1);
        macro.name = std::u16string(kNameLength, static_cast<char16_t>(u'A' + i));
        const std::size_t count = actions / kMacroCount + (i < actions % kMacroCount ? 1 : 0);
        for (std::size_t k = 0; k < count; ++k) {
            macro.actions.push_back({static_cast<std::uint32_t>(10 * (k % 100)),
                                     static_cast<KeyCode>(0x10 + k % 26),
                                     static_cast<std::uint16_t>(k % 2)});
        }
        macros.push_back(std::move(macro));
    }
    return macros;
}

std::size_t requests_logged(const std::filesystem::path& traffic) {
    std::ifstream in(traffic);
    std::size_t requests = 0;
    for (std::string line; std::getline(in, line);) {
        requests += line.rfind("> ", 0) == 0 ? 1 : 0;
    }
    return requests;
}

// Gives the virtual keyboard its largest macro memory and reads what a download needs.
bool prepare_keyboard(CommandSet& commands) {
    ParameterBlock parameters{};
    KeyMatrix matrix{};
    if (commands.read_parameters(parameters) != DeviceStatus::Success) {
        return false;
    }
    parameters[kMacroSpaceByte] = kLargestMacroUnits;
    if (commands.write_parameters(parameters) != DeviceStatus::Success ||
        commands.read_macro_space() != DeviceStatus::Success ||
        commands.read_default_key_matrix(matrix) != DeviceStatus::Success) {
        return false;
    }
    commands.facts().set_default_key_matrix(matrix);
    return commands.get_current_profile() != DeviceFacts::kUnknownProfile;
}

int run(const std::filesystem::path& folder) {
    const std::filesystem::path traffic = folder / "traffic";
    ::setenv("TARVENOR_SIM_DIR", folder.c_str(), 1);
    ::setenv("TARVENOR_SIM_TRAFFIC", traffic.c_str(), 1);
    for (const char* knob : {"TARVENOR_SIM_LATENCY_MS", "TARVENOR_SIM_FAULT",
                             "TARVENOR_SIM_UNPLUGGED", "TARVENOR_SIM_CONTROL"}) {
        ::unsetenv(knob);
    }
    std::string error;
    const auto library = ServiceLibrary::load(program_folder() / "libHidServSim.so", error);
    if (!library) {
        std::fprintf(stderr, "bench_download: %s\n", error.c_str());
        return 1;
    }
    NoEvents events;
    DeviceLink link(library->functions(), events);
    DeviceFacts facts;
    CommandSet commands(link.exchange(), facts);
    if (link.start() == 0 || !prepare_keyboard(commands)) {
        std::fprintf(stderr, "bench_download: the virtual keyboard did not answer\n");
        return 1;
    }

    const auto space = static_cast<std::size_t>(facts.macro_space());
    Configuration config;
    config.make_default_image();
    config.macros() = macros_filling(space);
    const std::size_t size = macro_block_sizes(config.macros()).with_names;
    const std::size_t expected = 1 + (size + kReportDataSize - 1) / kReportDataSize +
                                 7 * static_cast<std::size_t>(kProfileCount) + 1;
    PrintedMessages messages;
    const TextTable texts;
    std::vector<double> milliseconds;
    bool every_count_exact = true;
    std::size_t exchanges = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::optional<DownloadSnapshot> snapshot = take_download_snapshot(config);
        std::filesystem::resize_file(traffic, 0);
        const auto began = Clock::now();
        const bool accepted = macro_download(commands, *snapshot, true, messages, texts);
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - began).count());
        exchanges = requests_logged(traffic);
        every_count_exact = every_count_exact && accepted && exchanges == expected;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("full download, all 3 profiles, virtual keyboard with zero latency\n"
                "macro memory        %zu bytes (parameter byte 11 = %u)\n"
                "macro block         %zu bytes, %zu macros of about %zu actions, names included\n"
                "exchanges           %zu (expected 1 + ceil(%zu / 56) + 7 x 3 + 1 = %zu): %s\n"
                "time                median %.2f ms, best %.2f ms, worst %.2f ms (%d rounds)\n",
                space, kLargestMacroUnits, size, config.macros().size(),
                config.macros().front().actions.size(), exchanges, size, expected,
                every_count_exact ? "exact" : "MISMATCH", milliseconds[milliseconds.size() / 2],
                milliseconds.front(), milliseconds.back(), kRounds);
    if (size != space) {
        std::fprintf(stderr, "bench_download: the macros do not fill the memory exactly\n");
        return 1;
    }
    return every_count_exact ? 0 : 1;
}

} // namespace

int main() {
    char folder[] = "/tmp/tarvenor-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const int result = run(folder);
    std::filesystem::remove_all(folder);
    return result;
}
