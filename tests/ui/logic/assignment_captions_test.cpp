#include "ui/logic/assignment_captions.h"

#include "model/text_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

namespace tarvenor {
namespace {

class Captions : public ::testing::Test {
protected:
    Captions() {
        configuration.make_default_image();
        MacroRecord boss;
        boss.name = u"Boss";
        boss.id = 4;
        configuration.macros() = {boss};
    }
    void set(int profile, int slot, AssignmentType type, std::uint32_t param) {
        KeyAssignment assignment = configuration.entry(flat_entry(profile, slot));
        assignment.type = static_cast<std::uint16_t>(type);
        assignment.param = param;
        configuration.assign(flat_entry(profile, slot), assignment);
    }
    ButtonCaption of(int control_id, int profile, int bank) const {
        const auto captions = assignment_captions(configuration, texts, profile, bank);
        const auto found = std::find_if(captions.begin(), captions.end(),
                                        [&](const auto& c) { return c.control_id == control_id; });
        return found == captions.end() ? ButtonCaption{} : *found;
    }

    Configuration configuration;
    TextTable texts;
};

TEST_F(Captions, DescribeEveryKindOfAssignment) {
    set(1, 0x01E, AssignmentType::Key, 0x030);
    set(1, 0x030, AssignmentType::Macro, 4);
    set(1, 0x02E, AssignmentType::Function, 0);
    set(1, 0x020, AssignmentType::Macro, 9);
    set(1, 0x012, AssignmentType::Disabled, 0);
    EXPECT_EQ(of(1058, 1, 0), (ButtonCaption{1058, "AKeys, Set: Key(B)", true}));
    EXPECT_EQ(of(1075, 1, 0), (ButtonCaption{1075, "BKeys, Set: Macro(Boss)", true}));
    EXPECT_EQ(of(1073, 1, 0), (ButtonCaption{1073, "CKeys, Set: Function(Open)", true}));
    EXPECT_EQ(of(1060, 1, 0), (ButtonCaption{1060, "DKeys, Set: Macro()", true}));
    EXPECT_EQ(of(1046, 1, 0), (ButtonCaption{1046, "EKeys, Set: ", true}));
    EXPECT_EQ(of(1061, 1, 0), (ButtonCaption{1061, "F", false}));
    EXPECT_EQ(of(1058, 0, 0), (ButtonCaption{1058, "A", false}));
}

TEST_F(Captions, GButtonsFollowTheBankInForce) {
    set(2, g_button_slot(1, 1), AssignmentType::Key, 0x01E);
    set(2, g_button_slot(1, 0), AssignmentType::Media, 0);
    EXPECT_EQ(of(1001, 2, 1), (ButtonCaption{1001, "G2Keys, Set: Key(A)", true}));
    const ButtonCaption bank_a = of(1001, 2, 0);
    EXPECT_TRUE(bank_a.assigned);
    EXPECT_EQ(bank_a.text.rfind("G2Keys, Set: Media(", 0), 0u);
    EXPECT_EQ(of(1143, 2, 1), (ButtonCaption{1143, "G9", false}));
}

TEST_F(Captions, EveryButtonOnceAndPlainWithoutAProfile) {
    set(0, 0x01E, AssignmentType::Key, 0x030);
    const auto captions = assignment_captions(configuration, texts, -1, 0);
    EXPECT_EQ(captions.size(), kGButtonCount + kKeyboardKeyCount);
    EXPECT_TRUE(
        std::none_of(captions.begin(), captions.end(), [](const auto& c) { return c.assigned; }));
    EXPECT_EQ(of(1058, -1, 0).text, "A");
}

} // namespace
} // namespace tarvenor
