#include "assignment_fixture.h"

#include "ui/logic/control_ids.h"

#include <functional>

namespace tarvenor::testing {
namespace {

struct ApplyCase {
    const char* name;
    KeyClickRequest request;
    std::vector<std::string> macros;
    std::function<void(AssignmentLogic&)> act;
    AssignmentType type;
    std::uint32_t param;
    std::uint16_t aux_code;
};

KeyClickRequest key(KeyCode code) {
    KeyClickRequest request;
    request.key_number = key_index_of(code);
    return request;
}

KeyClickRequest g_key(int j, int bank) {
    KeyClickRequest request;
    request.key_number = static_cast<std::uint16_t>(g_button_slot(j, bank));
    request.macro_only = j == 8;
    request.bank = bank;
    return request;
}

void capture(AssignmentLogic& dialog, KeyCode code) {
    dialog.key_stroke({code, false, false});
    dialog.key_stroke({code, true, false});
}

void page(AssignmentLogic& dialog, AssignmentControl button) {
    dialog.press_page_button(button);
}

const ApplyCase kApplyCases[] = {
    {"AnotherKey",
     key(kA),
     {},
     [](AssignmentLogic& d) { capture(d, kB); },
     AssignmentType::Key,
     kB,
     0},
    {"KeyGivenItself",
     key(kA),
     {},
     [](AssignmentLogic& d) { capture(d, kA); },
     AssignmentType::Default,
     kA,
     0},
    {"ExtendedKeyGivenItself",
     key(0x152),
     {},
     [](AssignmentLogic& d) { capture(d, 0x152); },
     AssignmentType::Default,
     0x152,
     0},
    {"NothingCaptured", key(kA), {}, [](AssignmentLogic&) {}, AssignmentType::Default, 0, 0},
    {"NoMacroListed",
     key(kA),
     {},
     [](AssignmentLogic& d) { page(d, AssignmentControl::PageMacro); },
     AssignmentType::Default,
     0,
     0},
    {"MacroWithCycles",
     key(kA),
     {"M1", "M2"},
     [](AssignmentLogic& d) {
         page(d, AssignmentControl::PageMacro);
         d.select_macro(1);
         d.set_cycles_text("7");
     },
     AssignmentType::Macro,
     2,
     7},
    {"FirstMacroShownWhenNoneChosen",
     key(kA),
     {"M1", "M2"},
     [](AssignmentLogic& d) { page(d, AssignmentControl::PageMacro); },
     AssignmentType::Macro,
     1,
     1},
    {"Media",
     key(kA),
     {},
     [](AssignmentLogic& d) {
         page(d, AssignmentControl::PageMedia);
         d.select_media(5);
     },
     AssignmentType::Media,
     5,
     0},
    {"Function",
     key(kA),
     {},
     [](AssignmentLogic& d) {
         page(d, AssignmentControl::PageFunction);
         d.select_function(10);
     },
     AssignmentType::Function,
     10,
     0},
    {"GKeyBankA",
     g_key(2, 0),
     {},
     [](AssignmentLogic& d) { capture(d, kB); },
     AssignmentType::Key,
     kB,
     0x0303},
    {"GKeyBankB",
     g_key(2, 1),
     {},
     [](AssignmentLogic& d) { capture(d, kB); },
     AssignmentType::Key,
     kB,
     0x1303},
    {"GKeyBackToDefault",
     g_key(0, 1),
     {},
     [](AssignmentLogic&) {},
     AssignmentType::Default,
     0,
     0x1301},
    {"G9TakesAMacro",
     g_key(8, 1),
     {"M1", "M2"},
     [](AssignmentLogic& d) { d.select_macro(1); },
     AssignmentType::Macro,
     2,
     1},
    {"G9WithoutMacros",
     g_key(8, 0),
     {},
     [](AssignmentLogic&) {},
     AssignmentType::Default,
     0,
     0x0309},
};

class ApplyByPage : public AssignmentFixture, public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(ApplyByPage, WritesTheAssignmentOfThePage) {
    const ApplyCase& c = GetParam();
    store_macros(c.macros);
    const int slot = c.request.key_number;
    {
        KeyAssignment old = entry(slot, 2);
        old.colour_key_flag = 0xA5A5;
        configuration.assign(flat_entry(2, slot), old);
    }
    dialog.open(c.request, 2);
    c.act(dialog);
    const AssignmentApplyResult result = dialog.apply(2);

    const KeyAssignment written = entry(slot, 2);
    EXPECT_TRUE(result.applied);
    EXPECT_EQ(written.type, static_cast<std::uint16_t>(c.type));
    EXPECT_EQ(written.param, c.param);
    EXPECT_EQ(written.aux_code, c.aux_code);
    EXPECT_EQ(written.colour_key_flag, 0xA5A5u);
    EXPECT_EQ(result.assigned_look, c.type != AssignmentType::Default);
    EXPECT_TRUE(result.refresh_captions);
    EXPECT_TRUE(result.mark_changed);
    EXPECT_FALSE(dialog.changed());
    // Other profiles keep their entry.
    EXPECT_EQ(entry(slot, 1).type, 0);
}

INSTANTIATE_TEST_SUITE_P(Pages, ApplyByPage, ::testing::ValuesIn(kApplyCases),
                         [](const auto& info) { return std::string(info.param.name); });

using Apply = AssignmentFixture;

TEST_F(Apply, WithoutAProfileSaysNoUseAndWritesNothing) {
    store_macros({"M1"});
    open_key(kA);
    capture(dialog, kB);
    dialog.press_page_button(AssignmentControl::PageMacro);
    dialog.add_macro();
    const AssignmentApplyResult result = dialog.apply(-1);
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"No Use!"});
    EXPECT_EQ(stored_macros().size(), 1u);
    EXPECT_TRUE(entry(kA).is_zero());
    EXPECT_TRUE(dialog.changed());
}

TEST_F(Apply, FreesTheTextOfTheEntry) {
    {
        KeyAssignment launch;
        launch.type = static_cast<std::uint16_t>(AssignmentType::LaunchProgram);
        configuration.assign(flat_entry(kProfile, kA), launch);
        configuration.texts().set(flat_entry(kProfile, kA), u"/bin/true");
    }
    open_key(kA);
    capture(dialog, kB);
    dialog.apply(kProfile);
    EXPECT_EQ(configuration.texts().total(), 0u);
    EXPECT_EQ(configuration.entry(flat_entry(kProfile, kA)).param, kB);
}

TEST_F(Apply, LeavesAnAssignmentTheDialogCannotMakeAsItWas) {
    {
        KeyAssignment launch;
        launch.type = static_cast<std::uint16_t>(AssignmentType::TextBlock);
        launch.param = 0x40;
        configuration.assign(flat_entry(kProfile, kA), launch);
        configuration.texts().set(flat_entry(kProfile, kA), u"hello");
    }
    const KeyAssignment before = entry(kA);
    open_key(kA);
    EXPECT_EQ(dialog.shown_page(), AssignmentType::Key);
    EXPECT_EQ(dialog.captured_key_text(), "");
    dialog.apply(kProfile);
    EXPECT_EQ(entry(kA), before);
    EXPECT_EQ(configuration.texts().total(), 12u);
}

TEST_F(Apply, KeysPointingAtADeletedMacroFallBackToDefault) {
    store_macros({"M1", "M2"});
    set_entry(0x010, AssignmentType::Macro, 2, 1);
    set_entry(0x011, AssignmentType::Macro, 1, 1);
    open_key(kA);
    dialog.press_page_button(AssignmentControl::PageMacro);
    dialog.select_macro(1);
    prompts.answers = {true};
    dialog.delete_macro();
    dialog.apply(kProfile);
    EXPECT_TRUE(entry(0x010, 1).is(AssignmentType::Default));
    EXPECT_TRUE(entry(0x011, 1).is(AssignmentType::Macro));
    ASSERT_EQ(stored_macros().size(), 1u);
    EXPECT_EQ(stored_macros()[0].name, u"M1");
}

TEST_F(Apply, ADeletedIdTakenAgainInTheSameEditIsNotTheOldMacro) {
    store_macros({"M1", "M2"});
    set_entry(0x010, AssignmentType::Macro, 2);
    open_key(kA);
    dialog.press_page_button(AssignmentControl::PageMacro);
    dialog.select_macro(1);
    prompts.answers = {true};
    dialog.delete_macro();
    dialog.add_macro();
    dialog.apply(kProfile);
    EXPECT_TRUE(entry(0x010).is(AssignmentType::Default));
    // Committed: deleting it now asks, since A uses it.
    EXPECT_EQ(stored_macros()[1].is_new, 0);
    dialog.delete_macro();
    EXPECT_EQ(prompts.questions.size(), 2u);
    EXPECT_EQ(dialog.macro_names().size(), 2u);
}

TEST_F(Apply, CancelDiscardsEverything) {
    store_macros({"M1"});
    const MacroStore before = stored_macros();
    open_key(kA);
    dialog.press_page_button(AssignmentControl::PageMacro);
    dialog.add_macro();
    dialog.add_macro();
    dialog.type_macro_name("Renamed");
    dialog.cancel();
    EXPECT_EQ(stored_macros(), before);
    EXPECT_TRUE(entry(kA).is_zero());
    EXPECT_FALSE(dialog.is_open());
    // The next opening starts from the store again.
    open_key(kA);
    EXPECT_EQ(dialog.macro_names(), std::vector<std::string>{"M1"});
}

TEST_F(Apply, OkAppliesAndCloses) {
    open_key(kA);
    capture(dialog, kB);
    dialog.ok(kProfile);
    EXPECT_EQ(entry(kA).param, kB);
    EXPECT_FALSE(dialog.is_open());
    EXPECT_FALSE(dialog.apply(kProfile).applied);
}

} // namespace
} // namespace tarvenor::testing
