#include "device/keyboard_profile_file.h"
#include "device/macro_download.h"
#include "model/profile_file.h"
#include "transfer_fixture.h"

#include <fstream>
#include <thread>

namespace tarvenor::testing {
namespace {

constexpr std::uint8_t kReadProfile = 7, kReadMacros = 9;
constexpr int kKeyA = 0x1E, kKeyS = 0x1F, kKeyD = 0x20, kKeyF = 0x21, kKeyG = 0x22, kKeyH = 0x23,
              kKeyJ = 0x24, kKeyK = 0x25, kKeyL = 0x26, kKeyQ = 0x10, kKeyB = 0x30;
constexpr int kLeftCtrl = 0x1D, kRightAlt = 0x138, kVolumeUp = 0x130;
constexpr int kRightAltSlot = 0xB8; // extended codes: low byte + 0x80

KeyAssignment entry_of(AssignmentType type, std::uint32_t param = 0) {
    KeyAssignment entry;
    entry.type = static_cast<std::uint16_t>(type);
    entry.param = param;
    return entry;
}

// Every table as decoded from the keyboard starts like this: G-key codes in every table.
KeyTable decoded_table() {
    KeyTable table;
    for (int k = 0; k < 9; ++k) {
        table.entries[static_cast<std::size_t>(256 + k)].aux_code =
            static_cast<std::uint16_t>(0x0301 + k);
        table.entries[static_cast<std::size_t>(265 + k)].aux_code =
            static_cast<std::uint16_t>(0x1301 + k);
    }
    return table;
}

void set(KeyTable& table, int slot, const KeyAssignment& entry) {
    table.entries[static_cast<std::size_t>(slot)].type = entry.type;
    table.entries[static_cast<std::size_t>(slot)].param = entry.param;
}

Bytes file_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The documents folder inside a test's folder, which is only known once the test has set up.

class KeyboardProfileFileTest : public TransferTest {
protected:
    std::filesystem::path path(const std::string& name) const { return folder_ / name; }

    KeyboardFileResult build(const std::filesystem::path& file) {
        return build_file_from_keyboard(*commands_, texts_, file);
    }

    // Loads a profile file into a fresh configuration.
    static void load(const std::filesystem::path& file, Configuration& into) {
        ASSERT_TRUE(load_profile_file(file, into));
    }
};

// A configuration using every assignment type, in all three profiles and beyond them.
void fill_every_type(Configuration& config) {
    config.clear();
    config.make_default_image();
    MacroRecord seven = make_macro(7, u"Seven", 0, 3);
    seven.play_mode = 2;
    seven.actions = {{45, kKeyA, MacroAction::kDown},
                     {40000, kKeyA, MacroAction::kUp},
                     {100, kVolumeUp, MacroAction::kDown},
                     {0, kRightAlt, MacroAction::kUp}};
    config.macros() = {seven, make_macro(3, u"Three", 2)};

    const auto assign = [&config](int table, int slot, const KeyAssignment& entry) {
        config.assign(flat_entry(table, slot), entry);
    };
    assign(0, kKeyA, entry_of(AssignmentType::Key, kKeyB));
    assign(0, kKeyS, entry_of(AssignmentType::Key, kRightAlt));
    assign(0, kKeyD, entry_of(AssignmentType::Disabled));
    assign(0, kKeyF, entry_of(AssignmentType::Macro, 7));
    assign(0, kKeyG, entry_of(AssignmentType::StopMacro));
    assign(0, kKeyH, entry_of(AssignmentType::Media, 6));
    assign(0, kKeyJ, entry_of(AssignmentType::Function, 3));
    assign(0, kKeyK, entry_of(AssignmentType::LaunchProgram));
    config.texts().set(flat_entry(0, kKeyK), u"/usr/bin/xterm");
    assign(0, kKeyL, entry_of(AssignmentType::TextBlock));
    config.texts().set(flat_entry(0, kKeyL), u"hello");
    assign(0, 256, entry_of(AssignmentType::Macro, 3)); // G1: never sent
    assign(1, kKeyA, entry_of(AssignmentType::Macro, 3));
    assign(1, kKeyQ, entry_of(AssignmentType::Media, 0));
    assign(2, kKeyA, entry_of(AssignmentType::Key, kLeftCtrl));
    assign(2, kRightAltSlot, entry_of(AssignmentType::Key, kKeyA));
    assign(3, kKeyA, entry_of(AssignmentType::Key, kKeyB)); // the spare table: never sent
}

TEST_F(KeyboardProfileFileTest, RoundTripThroughTheKeyboardKeepsWhatTheKeyboardCanHold) {
    start_learnt();
    Configuration original;
    fill_every_type(original);
    ASSERT_TRUE(save_profile_file(path("before.tvp"), original));

    install_default();
    load(path("before.tvp"), config_);
    ASSERT_TRUE((holder_ = take_download_snapshot(config_)));
    ASSERT_TRUE(macro_download(*commands_, *holder_, true, messages_, texts_));
    // Types 3 and 6 reach the keyboard as the factory code and as a disabled key.
    EXPECT_EQ(stored_code(0, factory_position({2, 2, 0x0E})), (Code{2, 2, 0x0E}));
    EXPECT_EQ(stored_code(0, factory_position({2, 2, 0x0F})), (Code{0, 0, 0}));

    clear_traffic();
    ASSERT_EQ(build(path("after.tvp")), KeyboardFileResult::Written);
    for (std::uint8_t command : sent_commands()) {
        EXPECT_TRUE(command == kReadProfile || command == kReadMacros) << int(command);
    }
    EXPECT_EQ(requests()[21].report[4], 16) << "the macro block's header is read first";
    EXPECT_EQ(validate_profile_file(path("after.tvp"), messages_, texts_), ProfileFileCheck::Valid);

    Configuration back;
    load(path("after.tvp"), back);
    std::array<KeyTable, 4> expected{decoded_table(), decoded_table(), decoded_table(), {}};
    set(expected[0], kKeyA, entry_of(AssignmentType::Key, kKeyB));
    set(expected[0], kKeyS, entry_of(AssignmentType::Key, kRightAlt));
    set(expected[0], kKeyD, entry_of(AssignmentType::Disabled));
    set(expected[0], kKeyF, entry_of(AssignmentType::Macro, 1)); // id 7 was the first macro
    set(expected[0], kKeyG, entry_of(AssignmentType::StopMacro));
    set(expected[0], kKeyH, entry_of(AssignmentType::Media, 6));
    set(expected[0], kKeyJ, entry_of(AssignmentType::Function, 3));
    set(expected[0], kKeyL, entry_of(AssignmentType::Disabled)); // the text block; K is Default
    set(expected[1], kKeyA, entry_of(AssignmentType::Macro, 2));
    set(expected[1], kKeyQ, entry_of(AssignmentType::Media, 0));
    set(expected[2], kKeyA, entry_of(AssignmentType::Key, kLeftCtrl));
    set(expected[2], kRightAltSlot, entry_of(AssignmentType::Key, kKeyA));
    for (int table = 0; table < 4; ++table) {
        const KeyTable actual = back.image().key_table(table);
        for (int slot = 0; slot < kKeyTableSlots; ++slot) {
            EXPECT_EQ(
                actual.entries[static_cast<std::size_t>(slot)],
                expected[static_cast<std::size_t>(table)].entries[static_cast<std::size_t>(slot)])
                << "table " << table << " slot " << slot;
        }
    }
    EXPECT_EQ(back.texts().total(), 0u);
    EXPECT_EQ(back.image().header().text_size, 0u);

    ASSERT_EQ(back.macros().size(), 2u);
    const MacroRecord& first = back.macros()[0];
    EXPECT_EQ(first.id, 1);
    EXPECT_EQ(first.name, u"Seven");
    EXPECT_EQ(first.cycles, 3);
    EXPECT_EQ(first.play_mode, 0) << "the keyboard does not keep it";
    const std::vector<MacroAction> actions{{40, kKeyA, MacroAction::kDown},
                                           {40000, kKeyA, MacroAction::kUp},
                                           {100, kVolumeUp, MacroAction::kDown},
                                           {0, kRightAlt, MacroAction::kUp}};
    EXPECT_EQ(first.actions, actions);
    EXPECT_EQ(back.macros()[1].id, 2);
    EXPECT_EQ(back.macros()[1].name, u"Three");
    EXPECT_EQ(back.macros()[1].actions.size(), 2u);
}

TEST_F(KeyboardProfileFileTest, EmptyMacroAreaTakesOneHeaderRead) {
    start_learnt();
    ASSERT_EQ(build(path("fresh.tvp")), KeyboardFileResult::Written);
    const auto commands = sent_commands();
    ASSERT_EQ(commands.size(), 22u);
    EXPECT_EQ(commands.back(), kReadMacros);
    EXPECT_EQ(file_bytes(path("fresh.tvp")).size(), 32832u);
    Configuration back;
    load(path("fresh.tvp"), back);
    EXPECT_TRUE(back.macros().empty());
    EXPECT_EQ(back.entry(flat_entry(0, kKeyA)).type, 0) << "factory codes decode as Default";
}

TEST_F(KeyboardProfileFileTest, DamagedBlockSizeReadsNoMoreThanTheMacroMemory) {
    start_learnt();
    poke_memory("macros.bin", 0,
                {0xAA, 0x55, 0xFF, 0xFF, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF});
    ASSERT_EQ(build(path("damaged.tvp")), KeyboardFileResult::Written);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 21u + 1 + (8192 + 55) / 56);
    EXPECT_EQ(address_of(sent.back()) + sent.back().report[4], 8192);
    Configuration back;
    load(path("damaged.tvp"), back);
    EXPECT_TRUE(back.macros().empty()) << "the one macro's offset lies outside the memory";
}

TEST_F(KeyboardProfileFileTest, FailedBuildLeavesThePreviousFile) {
    start_learnt();
    const Bytes old{'o', 'l', 'd'};
    write_bytes(path("mirror"), old);
    // A macro block larger than its header, so that a second macro read is needed.
    poke_memory("macros.bin", 0, {0xAA, 0x55, 100, 0, 0, 0});

    control("fault status-ff 3 22"); // the profile blocks and the header pass
    EXPECT_EQ(build(path("mirror")), KeyboardFileResult::ReadFailed);
    EXPECT_EQ(file_bytes(path("mirror")), old);

    control("fault no-answer 3 5");
    EXPECT_EQ(build(path("mirror")), KeyboardFileResult::ReadFailed);
    EXPECT_EQ(file_bytes(path("mirror")), old);

    control("fault none");
    EXPECT_EQ(build(folder_ / "missing" / "mirror"), KeyboardFileResult::WriteFailed);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& file : std::filesystem::directory_iterator(folder_)) {
        ++files;
    }
    EXPECT_EQ(files, 3u) << "memory folder, traffic and the old file only";
}

TEST_F(KeyboardProfileFileTest, UnknownProfileOrFactoryCodesReadNothingMore) {
    start();
    poke_memory("parameters.bin", 10, {7});
    EXPECT_EQ(build(path("x.tvp")), KeyboardFileResult::ProfileUnknown);
    EXPECT_EQ(sent_commands(), std::vector<std::uint8_t>{3});

    poke_memory("parameters.bin", 10, {1});
    clear_traffic();
    EXPECT_EQ(build(path("x.tvp")), KeyboardFileResult::FactoryMatrixMissing);
    EXPECT_EQ(sent_commands(), std::vector<std::uint8_t>{3});
    EXPECT_FALSE(std::filesystem::exists(path("x.tvp")));
}

} // namespace
} // namespace tarvenor::testing
