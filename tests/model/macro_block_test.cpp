#include "model/macro_block.h"
#include "model_builders.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

using testing::factory_matrix;
using testing::macro;

MacroStore two_macros() {
    MacroStore macros{macro(1, u"Alpha", 3), macro(2, u"Be", 0)};
    macros[1].cycles = 7;
    return macros;
}

DownloadSnapshot snapshot_with(MacroStore macros) {
    return {make_default_image(), std::move(macros)};
}

TEST(MacroBlockSizes, CountHeaderOffsetsRecordsAndNames) {
    const MacroBlockSizes sizes = macro_block_sizes(two_macros());
    EXPECT_EQ(sizes.without_names, 16u + 4u + (4 * 3 + 4) + (0 + 4));
    EXPECT_EQ(sizes.with_names, sizes.without_names + 2 * 5 + 2 * 2);
    EXPECT_EQ(macro_block_sizes({}).with_names, 16u);
}

TEST(MacroBlock, LayoutWithNames) {
    const Bytes block = build_macro_block(two_macros(), true);
    ASSERT_EQ(block.size(), macro_block_sizes(two_macros()).with_names);
    EXPECT_EQ(read_u16(block, 0), 0x55AA);
    EXPECT_EQ(read_u16(block, 2), block.size());
    EXPECT_EQ(read_u16(block, 4), 2);
    EXPECT_EQ(read_u16(block, 6), 1);
    EXPECT_EQ(read_u16(block, 16), 20);
    EXPECT_EQ(read_u16(block, 18), 20 + 4 + 12 + 10);
    EXPECT_EQ(read_u16(block, 20), 3);    // action count
    EXPECT_EQ(block[23], 5);              // name length
    EXPECT_EQ(read_u16(block, 36), u'A'); // name after the actions
    const std::size_t second = read_u16(block, 18);
    EXPECT_EQ(block[second + 2], 7);
    EXPECT_EQ(read_u16(block, second + 4), u'B');
}

TEST(MacroBlock, WithoutNamesEveryNameLengthIsZero) {
    const Bytes block = build_macro_block(two_macros(), false);
    EXPECT_EQ(read_u16(block, 6), 0);
    EXPECT_EQ(block[20 + 3], 0);
    EXPECT_EQ(block.size(), macro_block_sizes(two_macros()).without_names);
}

TEST(MacroAction, EncodingOfDelaysKindsAndDirections) {
    using A = std::array<std::uint8_t, 4>;
    // Volume up pressed, 100 ms.
    EXPECT_EQ(encode_macro_action({100, 0x130, MacroAction::kDown}), (A{0x0A, 0xB0, 0xE9, 0x00}));
    EXPECT_EQ(encode_macro_action({40000, 0x01E, MacroAction::kUp}), (A{0xA0, 0x2F, 0x02, 0x04}));
    EXPECT_EQ(encode_macro_action({0, 0x02A, MacroAction::kDown}), (A{0x00, 0xA0, 0x01, 0x02}));
    EXPECT_EQ(encode_macro_action({0, 0x15F, MacroAction::kUp}), (A{0x00, 0x40, 0x82, 0x00}));
    EXPECT_EQ(encode_macro_action({0, 0x064, MacroAction::kUp}), (A{0x00, 0x00, 0x00, 0x00}));
    // Delays a damaged file may hold saturate instead of wrapping into a short delay.
    EXPECT_EQ(encode_macro_action({45000, 0x01E, MacroAction::kUp})[0], 0xFF);
    EXPECT_EQ(encode_macro_action({45000, 0x01E, MacroAction::kUp})[1], 0x2F);

    const A delay45{0x04, 0x20, 0x02, 0x04};
    EXPECT_EQ(encode_macro_action({45, 0x01E, MacroAction::kUp}), delay45);
    EXPECT_EQ(decode_macro_action(delay45), (MacroAction{40, 0x01E, MacroAction::kUp}));
    EXPECT_EQ(decode_macro_action(A{0x0A, 0xB0, 0xE9, 0x00}),
              (MacroAction{100, 0x130, MacroAction::kDown}));
}

TEST(DownloadPlan, NamesThresholdAndTooLarge) {
    const MacroBlockSizes sizes = macro_block_sizes(two_macros());
    const DownloadSnapshot snapshot = snapshot_with(two_macros());
    const DefaultKeyMatrix matrix = factory_matrix();

    DownloadPlan exact = plan_macro_download(snapshot, sizes.with_names, matrix, true, 0);
    EXPECT_EQ(exact.outcome, DownloadPlan::Outcome::Send);
    EXPECT_FALSE(exact.names_dropped);
    EXPECT_EQ(exact.macro_block.size(), sizes.with_names);

    DownloadPlan tight = plan_macro_download(snapshot, sizes.with_names - 1, matrix, true, 0);
    EXPECT_EQ(tight.outcome, DownloadPlan::Outcome::Send);
    EXPECT_TRUE(tight.names_dropped);
    EXPECT_EQ(tight.macro_block.size(), sizes.without_names);

    DownloadPlan bare = plan_macro_download(snapshot, sizes.without_names, matrix, true, 0);
    EXPECT_TRUE(bare.names_dropped);
    EXPECT_EQ(bare.outcome, DownloadPlan::Outcome::Send);

    EXPECT_EQ(exact.message(), std::nullopt);
    EXPECT_EQ(tight.message(), Message::MacroNamesDropped);
    DownloadPlan refused = plan_macro_download(snapshot, sizes.without_names - 1, matrix, true, 0);
    EXPECT_EQ(refused.message(), Message::MacrosTooLarge);
    EXPECT_EQ(refused.outcome, DownloadPlan::Outcome::MacrosTooLarge);
    EXPECT_TRUE(refused.macro_block.empty());
    EXPECT_TRUE(refused.profiles.empty());

    const DownloadPlan none = plan_macro_download(snapshot_with({}), 0, matrix, true, 0);
    EXPECT_EQ(none.outcome, DownloadPlan::Outcome::MacrosTooLarge);
    const DownloadPlan header_only = plan_macro_download(snapshot_with({}), 16, matrix, true, 0);
    EXPECT_EQ(header_only.macro_block.size(), 16u);
    EXPECT_EQ(read_u16(header_only.macro_block, 6), 1);
}

TEST(DownloadPlan, WhichProfilesAreWritten) {
    DownloadSnapshot snapshot = snapshot_with(two_macros());
    KeyAssignment macro_two;
    macro_two.type = static_cast<std::uint16_t>(AssignmentType::Macro);
    macro_two.param = 2;
    snapshot.image.set_assignment(1, 0x1E, macro_two);
    const DefaultKeyMatrix matrix = factory_matrix();

    const DownloadPlan all = plan_macro_download(snapshot, 8192, matrix, true, -1);
    ASSERT_EQ(all.profiles.size(), 3u);
    EXPECT_EQ(all.profiles[2].profile, 2);
    EXPECT_EQ(all.profiles[1].block.at(0), (DeviceKeyCode{5, 1, 1})); // second macro
    EXPECT_EQ(all.profiles[0].block, matrix);

    const DownloadPlan current = plan_macro_download(snapshot, 8192, matrix, false, 1);
    ASSERT_EQ(current.profiles.size(), 1u);
    EXPECT_EQ(current.profiles[0].profile, 1);

    for (const int undetermined : {-1, 3, 255}) {
        const DownloadPlan plan = plan_macro_download(snapshot, 8192, matrix, false, undetermined);
        EXPECT_TRUE(plan.profiles.empty()) << undetermined;
        EXPECT_FALSE(plan.macro_block.empty()); // the macro area is still written
    }
}

TEST(decode_macro_block, RoundTripWithAndWithoutNames) {
    const TextTable texts;
    MacroStore macros = two_macros();
    macros[0].actions[1] = {1230, 0x136, MacroAction::kUp};
    const MacroStore named = decode_macro_block(build_macro_block(macros, true), texts);
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0].name, u"Alpha");
    // The second "Right Shift" row shares its usage with the first, which decoding finds.
    std::vector<MacroAction> expected = macros[0].actions;
    expected[1].key = 0x036;
    EXPECT_EQ(named[0].actions, expected);
    EXPECT_EQ(named[1].cycles, 7);
    EXPECT_EQ(named[1].id, 2);

    const MacroStore unnamed = decode_macro_block(build_macro_block(macros, false), texts);
    EXPECT_EQ(unnamed[0].name, u"Macro1");
    EXPECT_EQ(unnamed[1].name, u"Macro2");
}

TEST(decode_macro_block, DamagedBlocksNeverReadOutside) {
    const TextTable texts;
    const Bytes good = build_macro_block(two_macros(), true);

    EXPECT_TRUE(decode_macro_block({}, texts).empty());
    EXPECT_TRUE(decode_macro_block(std::span(good).first(15), texts).empty());
    Bytes bad_magic = good;
    bad_magic[0] = 0;
    EXPECT_TRUE(decode_macro_block(bad_magic, texts).empty());

    // Cut inside the second record's name: the name is dropped, the actions kept.
    const Bytes cut(good.begin(), good.end() - 1);
    Bytes resized = cut;
    write_u16(resized, 2, static_cast<std::uint16_t>(resized.size()));
    const MacroStore partial = decode_macro_block(resized, texts);
    ASSERT_EQ(partial.size(), 2u);
    EXPECT_EQ(partial[1].name, u"Macro2");

    // The declared size is smaller than the bytes read: the rest is not trusted.
    Bytes shrunk = good;
    write_u16(shrunk, 2, 30);
    const MacroStore first_only = decode_macro_block(shrunk, texts);
    ASSERT_EQ(first_only.size(), 1u);
    EXPECT_EQ(first_only[0].actions.size(), 1u);

    // A declared size that does not even cover the header: nothing past it is read.
    for (const std::uint16_t declared : {0, 4, 5, 15}) {
        Bytes tiny = good;
        write_u16(tiny, 2, declared);
        EXPECT_TRUE(decode_macro_block(tiny, texts).empty()) << declared;
    }

    // An offset pointing past the end stops the decoding there.
    Bytes far = good;
    write_u16(far, 18, 0xFFF0);
    EXPECT_EQ(decode_macro_block(far, texts).size(), 1u);

    // A count larger than the offset table the block has room for.
    Bytes many = good;
    write_u16(many, 4, 0xFFFF);
    EXPECT_LE(decode_macro_block(many, texts).size(), (good.size() - 16) / 2);

    // An action count beyond the block: only whole actions inside it are read.
    Bytes long_count = good;
    write_u16(long_count, 20, 60000);
    const MacroStore clipped = decode_macro_block(long_count, texts);
    EXPECT_EQ(clipped[0].actions.size(), (good.size() - 24) / 4);
    EXPECT_EQ(clipped[0].name, u"Macro1");
}

TEST(decode_macro_block, LimitsOfTheRecord) {
    const TextTable texts;
    MacroRecord big = macro(1, std::u16string(255, u'n'), 2100);
    Bytes block(16 + 2 + 4 + 2100 * 4 + 2 * 255, 0);
    write_u16(block, 0, 0x55AA);
    write_u16(block, 2, static_cast<std::uint16_t>(block.size()));
    write_u16(block, 4, 1);
    write_u16(block, 16, 18);
    write_u16(block, 18, 2100);
    block[18 + 3] = 255;
    for (std::size_t i = 0; i < 255; ++i) {
        write_u16(block, 18 + 4 + 2100 * 4 + 2 * i, u'n');
    }
    const MacroStore decoded = decode_macro_block(block, texts);
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(decoded[0].actions.size(), 2000u);
    EXPECT_EQ(decoded[0].name, std::u16string(249, u'n'));
}

TEST(MacroBlockReadSize, OnlyForABlock) {
    Bytes head(16, 0);
    EXPECT_EQ(macro_block_read_size(head), 0u);
    write_u16(head, 0, 0x55AA);
    write_u16(head, 2, 300);
    EXPECT_EQ(macro_block_read_size(head), 300u);
    EXPECT_EQ(macro_block_read_size(std::span(head).first(3)), 0u);
}

} // namespace
} // namespace tarvenor
