// Validate, load and save of the largest profile file: 100 macros of 2000 actions with full
// names, and a launch-program or text-block text on every key of the three profiles.
#include "model/profile_file.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

using namespace tarvenor;
using Clock = std::chrono::steady_clock;

class NullSink : public MessageSink {
public:
    void show(Message, const std::string&) override {}
};

MacroRecord largest_macro(std::uint16_t id) {
    MacroRecord m;
    m.id = id;
    m.cycles = 255;
    m.name = std::u16string(MacroRecord::kMaxNameLength, u'm');
    m.name[0] = static_cast<char16_t>(u'A' + id % 26);
    for (std::size_t i = 0; i < MacroRecord::kMaxActions; ++i) {
        m.actions.push_back(
            {static_cast<std::uint32_t>(i % 4001) * 10, 0x01E, static_cast<std::uint16_t>(i % 2)});
    }
    return m;
}

void fill_largest(Configuration& config) {
    config.make_default_image();
    for (std::uint16_t id = 1; id <= MacroRecord::kMaxCount; ++id) {
        config.macros().push_back(largest_macro(id));
    }
    for (int profile = 0; profile < kKeyboardProfiles; ++profile) {
        for (int slot = 0; slot < kGSlotBase + kGSlotCount; ++slot) {
            const int flat = flat_entry(profile, slot);
            KeyAssignment a;
            a.type = static_cast<std::uint16_t>(slot % 2 ? AssignmentType::TextBlock
                                                         : AssignmentType::LaunchProgram);
            config.assign(flat, a);
            config.texts().set(flat, std::u16string(259, u'x'));
        }
    }
}

double milliseconds_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() / "tarvenor-bench-profile-file";
    std::filesystem::create_directories(folder);
    const auto path = folder / "largest.tvp";
    const auto copy = folder / "resaved.tvp";
    {
        Configuration config;
        fill_largest(config);
        if (!save_profile_file(path, config)) {
            std::fprintf(stderr, "bench_profile_file: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    constexpr int kRounds = 20;
    double validate_ms = 0;
    double load_ms = 0;
    double save_ms = 0;
    NullSink sink;
    const TextTable texts;
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        if (validate_profile_file(path, sink, texts) != ProfileFileCheck::Valid) {
            std::fprintf(stderr, "bench_profile_file: the largest file does not validate\n");
            return 1;
        }
        validate_ms += milliseconds_since(start);

        Configuration config;
        start = Clock::now();
        const bool loaded = load_profile_file(path, config);
        load_ms += milliseconds_since(start);

        start = Clock::now();
        const bool saved = static_cast<bool>(save_profile_file(copy, config));
        save_ms += milliseconds_since(start);
        if (!loaded || !saved) {
            std::fprintf(stderr, "bench_profile_file: load or save failed\n");
            return 1;
        }
    }
    std::printf("largest profile file: %ju bytes (100 macros x 2000 actions, %d texts)\n",
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)),
                kKeyboardProfiles * (kGSlotBase + kGSlotCount));
    std::printf("validate: %8.3f ms\nload:     %8.3f ms\nsave:     %8.3f ms\n(mean of %d rounds)\n",
                validate_ms / kRounds, load_ms / kRounds, save_ms / kRounds, kRounds);
    std::filesystem::remove_all(folder);
    return 0;
}
