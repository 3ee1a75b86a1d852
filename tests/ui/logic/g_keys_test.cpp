#include "ui/logic/g_keys.h"

#include "model/key_codes.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(GKeys, CaptionsFollowTheBank) {
    const auto a = g_captions(0);
    const auto b = g_captions(1);
    EXPECT_EQ(a[0], "A1");
    EXPECT_EQ(a[4], "A5");
    EXPECT_EQ(b[0], "B1");
    EXPECT_EQ(b[4], "B5");
    for (int j = 5; j < kGKeyCount; ++j) {
        EXPECT_EQ(a[j], "");
        EXPECT_EQ(b[j], "");
    }
    // Two switches in a row come back to bank A's captions.
    EXPECT_EQ(g_captions(0 ^ 1 ^ 1), a);
}

class GKeysLook : public ::testing::Test {
protected:
    void SetUp() override { configuration.make_default_image(); }
    void assign(int profile, int slot, AssignmentType type) {
        KeyAssignment assignment;
        assignment.type = static_cast<std::uint16_t>(type);
        configuration.assign(flat_entry(profile, slot), assignment);
    }
    Configuration configuration;
};

TEST_F(GKeysLook, MarksSlotsOfTheBankInTheActiveProfile) {
    assign(1, g_button_slot(2, 0), AssignmentType::Macro);
    assign(1, g_button_slot(8, 1), AssignmentType::Disabled);
    assign(0, g_button_slot(3, 0), AssignmentType::Key); // another profile

    const auto bank_a = g_assigned(configuration, 1, 0);
    const auto bank_b = g_assigned(configuration, 1, 1);
    for (int j = 0; j < kGKeyCount; ++j) {
        EXPECT_EQ(bank_a[j], j == 2) << j;
        EXPECT_EQ(bank_b[j], j == 8) << j;
    }
}

TEST_F(GKeysLook, DefaultTypeWithOtherFieldsSetIsNotAssigned) {
    KeyAssignment assignment;
    assignment.aux_code = 0x0301;
    assignment.param = 7;
    configuration.assign(flat_entry(0, g_button_slot(0, 0)), assignment);
    EXPECT_FALSE(g_assigned(configuration, 0, 0)[0]);
}

TEST_F(GKeysLook, UnknownProfileMarksNothingAndReadsNoTable) {
    for (int table = 0; table < kKeyTableCount; ++table) {
        for (int slot = kGSlotBase; slot < kGSlotBase + kGSlotCount; ++slot) {
            assign(table, slot, AssignmentType::Key);
        }
    }
    for (int profile : {-1, 3, 99}) {
        for (bool marked : g_assigned(configuration, profile, 0)) {
            EXPECT_FALSE(marked) << profile;
        }
    }
}

TEST(GKeysLookWithoutImage, ReadsAsUnassigned) {
    const Configuration empty;
    for (bool marked : g_assigned(empty, 0, 1)) {
        EXPECT_FALSE(marked);
    }
}

} // namespace
} // namespace tarvenor
