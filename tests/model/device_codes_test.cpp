#include "model/device_codes.h"
#include "model_builders.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

using testing::assignment;
using testing::factory_matrix;

int position_of_id(std::uint32_t id) {
    return id == 9 ? 4 : 0;
}

DeviceKeyCode code_for(const KeyAssignment& a, DeviceKeyCode factory = {2, 2, 0x04}) {
    return device_code_for_assignment(a, factory, position_of_id);
}

TEST(key_code_from_device_key_code, EachKind) {
    EXPECT_EQ(key_code_from_device_key_code({2, 2, 0x04}), 0x01E);
    EXPECT_EQ(key_code_from_device_key_code({2, 1, 0x40}), 0x138);
    EXPECT_EQ(key_code_from_device_key_code({2, 7, 0x01}), 0x01D); // any byte 1 but 2: modifier bit
    EXPECT_EQ(key_code_from_device_key_code({3, 0xE9, 0x00}), 0x130);
    EXPECT_EQ(key_code_from_device_key_code({3, 0x92, 0x01}), 0x121);
    EXPECT_EQ(key_code_from_device_key_code({4, 0x82, 0x00}), 0x15F);
    EXPECT_EQ(key_code_from_device_key_code({4, 0x82, 0x01}), 0); // 0x182 is no desktop usage
    EXPECT_EQ(key_code_from_device_key_code({5, 0, 0}), 0);
    EXPECT_EQ(key_code_from_device_key_code({0, 0, 0}), 0);
}

TEST(AssignmentToDeviceCode, EveryTypeOfTheTranslationTable) {
    const DeviceKeyCode factory{2, 2, 0x04};
    using T = AssignmentType;
    EXPECT_EQ(code_for(assignment(T::Default)), factory);
    EXPECT_EQ(code_for(assignment(T::Disabled)), (DeviceKeyCode{0, 0, 0}));
    EXPECT_EQ(code_for(assignment(T::Key, 0x138)), (DeviceKeyCode{2, 1, 0x40}));
    EXPECT_EQ(code_for(assignment(T::Key, 0x01E)), (DeviceKeyCode{2, 2, 0x04}));
    EXPECT_EQ(code_for(assignment(T::Key, 0x064)), (DeviceKeyCode{2, 2, 0x00})); // F13
    EXPECT_EQ(code_for(assignment(T::Key, 0x15E)), (DeviceKeyCode{2, 2, 0x00})); // Power
    EXPECT_EQ(code_for(assignment(T::Key, 0x136)), (DeviceKeyCode{2, 2, 0xE5}));
    EXPECT_EQ(code_for(assignment(T::LaunchProgram, 12)), factory);
    EXPECT_EQ(code_for(assignment(T::Macro, 9)), (DeviceKeyCode{5, 1, 4}));
    EXPECT_EQ(code_for(assignment(T::Macro, 55)), (DeviceKeyCode{5, 1, 0})); // no such id
    EXPECT_EQ(code_for(assignment(T::StopMacro)), (DeviceKeyCode{5, 2, 0}));
    EXPECT_EQ(code_for(assignment(T::TextBlock, 2)), (DeviceKeyCode{0, 0, 0}));
    EXPECT_EQ(code_for(assignment(T::Media, 16)), (DeviceKeyCode{3, 0x92, 0x01}));
    EXPECT_EQ(code_for(assignment(T::Media, 6)), (DeviceKeyCode{3, 0xE9, 0x00}));
    EXPECT_EQ(code_for(assignment(T::Function, 10)), (DeviceKeyCode{5, 5, 10}));
    // Values only a damaged file holds keep the factory code.
    EXPECT_EQ(code_for(assignment(T::Media, 18)), factory);
    EXPECT_EQ(code_for(KeyAssignment{9, 0, 0, 0, 0}), factory);
}

TEST(ProfileBlock, TranslatesEachPositionThroughItsFactoryKey) {
    const DefaultKeyMatrix matrix = factory_matrix();
    KeyTable table;
    table.entries[0x1E] = assignment(AssignmentType::Disabled);                  // A, position 0
    table.entries[key_index_of(0x138)] = assignment(AssignmentType::Key, 0x01E); // Right Alt
    table.entries[256] = assignment(AssignmentType::Disabled); // G keys never sent
    const ProfileBlock block = build_profile_block(table, matrix, position_of_id);
    EXPECT_EQ(block.at(0), (DeviceKeyCode{0, 0, 0}));
    EXPECT_EQ(block.at(84), (DeviceKeyCode{2, 2, 0x04})); // position 84 is Right Alt
    EXPECT_EQ(block.at(1), matrix.at(1));
    EXPECT_EQ(block.at(110), (DeviceKeyCode{5, 0, 0})); // no key: factory code carried
    EXPECT_EQ(block.at(120), (DeviceKeyCode{0, 0, 0}));
}

TEST(decode_profile_block, EveryCodeBackToItsAssignment) {
    const DefaultKeyMatrix matrix = factory_matrix();
    EXPECT_EQ(decode_profile_block(matrix, matrix), KeyTable::with_g_key_codes());

    struct Case {
        DeviceKeyCode code;
        KeyAssignment expected;
    };
    using T = AssignmentType;
    const Case cases[] = {
        {{0, 0, 0}, assignment(T::Disabled)},       {{5, 1, 3}, assignment(T::Macro, 4)},
        {{5, 2, 0}, assignment(T::StopMacro)},      {{5, 5, 7}, assignment(T::Function, 7)},
        {{5, 0, 0}, assignment(T::Disabled)},       {{3, 0xCD, 0x00}, assignment(T::Media, 1)},
        {{3, 0x6F, 0x00}, assignment(T::Disabled)}, // not one of the media usages
        {{2, 2, 0x05}, assignment(T::Key, 0x030)},  {{2, 2, 0x00}, assignment(T::Disabled)},
        {{2, 1, 0x20}, assignment(T::Key, 0x036)},  {{4, 0x81, 0}, assignment(T::Disabled)},
    };
    for (const Case& c : cases) {
        ProfileBlock block = matrix;
        block.set(0, c.code); // position 0 is the key A
        const KeyTable table = decode_profile_block(block, matrix);
        EXPECT_EQ(table.entries[0x1E], c.expected)
            << int(c.code.kind) << " " << int(c.code.b1) << " " << int(c.code.b2);
    }
}

TEST(decode_profile_block, PositionsWithoutAKeyAreSkipped) {
    const DefaultKeyMatrix matrix = factory_matrix();
    ProfileBlock block = matrix;
    block.set(110, {2, 2, 0x04}); // Fn position: its factory code names no key
    block.set(125, {5, 1, 0});
    EXPECT_EQ(decode_profile_block(block, matrix), KeyTable::with_g_key_codes());
}

TEST(ProfileBlock, EveryTranslatableAssignmentSurvivesTheTrip) {
    const DefaultKeyMatrix matrix = factory_matrix();
    using T = AssignmentType;
    const KeyAssignment assignments[] = {
        assignment(T::Disabled),     assignment(T::Key, 0x01D), assignment(T::Key, 0x030),
        assignment(T::Key, 0x15C),   assignment(T::Macro, 1),   assignment(T::StopMacro),
        assignment(T::Media, 0),     assignment(T::Media, 17),  assignment(T::Function, 0),
        assignment(T::Function, 10),
    };
    KeyTable table = KeyTable::with_g_key_codes();
    KeyTable expected = table;
    std::size_t i = 0;
    for (const KeyboardKey& key : keyboard_key_list()) {
        const KeyAssignment& a = assignments[i++ % std::size(assignments)];
        table.entries[key_index_of(key.code)] = a;
        // A key given itself sends its factory code, which reads back as Default.
        const bool itself = a.is(T::Key) && a.param == key.code;
        expected.entries[key_index_of(key.code)] = itself ? KeyAssignment{} : a;
    }
    const auto first_macro = [](std::uint32_t) { return 0; };
    const ProfileBlock block = build_profile_block(table, matrix, first_macro);
    EXPECT_EQ(decode_profile_block(block, matrix), expected);
}

TEST(KeyCodeBlock, BytesRoundTrip) {
    std::array<std::uint8_t, KeyCodeBlock::kSize> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    const KeyCodeBlock block(bytes);
    EXPECT_EQ(block.at(2), (DeviceKeyCode{42, 49, 56}));
    EXPECT_EQ(block.bytes(), bytes);
}

} // namespace
} // namespace tarvenor
