#include "assignment_fixture.h"

#include "ui/logic/control_ids.h"

namespace tarvenor::testing {
namespace {

class MacroPage : public AssignmentFixture {
protected:
    void open_macro_page(const std::vector<std::string>& names) {
        store_macros(names);
        open_key(kA);
        dialog.press_page_button(AssignmentControl::PageMacro);
    }
    // Opened on A, which plays B: the macro page shows no macro selected.
    void open_macro_page_unselected(const std::vector<std::string>& names) {
        store_macros(names);
        set_entry(kA, AssignmentType::Key, kB);
        open_key(kA);
        dialog.press_page_button(AssignmentControl::PageMacro);
    }
    std::string last_name() const { return dialog.macro_names().back(); }
};

TEST_F(MacroPage, NameCounterSkipsNamesThatArePrefixes) {
    open_macro_page({"Macro1", "Macro10"});
    dialog.add_macro();
    EXPECT_EQ(last_name(), "Macro2");
    EXPECT_EQ(dialog.selected_macro(), 2);
    EXPECT_TRUE(dialog.changed());
}

TEST_F(MacroPage, NameCounterIgnoresCase) {
    open_macro_page({"MACRO1", "macro2x"});
    dialog.add_macro();
    EXPECT_EQ(last_name(), "Macro3");
}

TEST_F(MacroPage, NameCounterSurvivesBetweenOpenings) {
    open_macro_page({"Other"});
    dialog.add_macro();
    EXPECT_EQ(last_name(), "Macro1");
    dialog.cancel();
    open_macro_page({"Other"});
    dialog.add_macro();
    EXPECT_EQ(last_name(), "Macro2");
    EXPECT_EQ(dialog.name_counter(), 2);
}

TEST_F(MacroPage, NameCounterRestartsOnAnEmptyList) {
    open_macro_page({"Other"});
    dialog.add_macro();
    dialog.add_macro();
    dialog.cancel();
    open_macro_page({});
    dialog.add_macro();
    EXPECT_EQ(last_name(), "Macro1");
}

TEST_F(MacroPage, AHundredMacrosAreTheLimit) {
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i) {
        names.push_back("N" + std::to_string(i));
    }
    open_macro_page(names);
    dialog.add_macro();
    EXPECT_EQ(dialog.macro_names().size(), 100u);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"The maximum number of macro: 100   "});
    EXPECT_EQ(dialog.name_counter(), 0);
}

TEST_F(MacroPage, NewMacroTakesTheLowestFreeId) {
    open_macro_page({"M1", "M2", "M3"});
    dialog.select_macro(1);
    prompts.answers = {true};
    dialog.delete_macro();
    EXPECT_EQ(prompts.questions.size(), 1u);
    dialog.add_macro();
    dialog.apply(kProfile);
    const MacroStore store = stored_macros();
    ASSERT_EQ(store.size(), 3u);
    EXPECT_EQ(store[2].id, 2);
    EXPECT_EQ(store[2].cycles, 1);
    EXPECT_EQ(store[2].is_new, 0);
    EXPECT_TRUE(store[2].actions.empty());
}

TEST_F(MacroPage, DeletingAMacroAKeyUsesAsksAndNoKeepsIt) {
    store_macros({"M1", "M2"});
    set_entry(0x010, AssignmentType::Macro, 2, 2);
    open_key(kA);
    dialog.press_page_button(AssignmentControl::PageMacro);
    dialog.select_macro(1);
    dialog.delete_macro();
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0],
              "Detect some key points to set this macro, \n  really need to remove this macro?  ");
    EXPECT_EQ(dialog.macro_names().size(), 2u);
    prompts.answers = {true};
    dialog.delete_macro();
    EXPECT_EQ(dialog.macro_names(), std::vector<std::string>{"M1"});
    EXPECT_EQ(dialog.selected_macro(), 0);
}

// "−" asks before a macro goes, as Clear asks before its actions go; only a new, empty macro
// goes without a word, since nothing is lost with it.
TEST_F(MacroPage, DeletingAMacroNoKeyUsesAsksUnlessItIsNewAndEmpty) {
    open_macro_page({"Boss", "M2"});
    dialog.delete_macro();
    ASSERT_EQ(prompts.questions,
              std::vector<std::string>{"Delete the macro \"Boss\" and its actions?"});
    EXPECT_EQ(dialog.macro_names().size(), 2u) << "No keeps it";

    dialog.add_macro();
    dialog.delete_macro();
    EXPECT_EQ(prompts.questions.size(), 1u) << "a new macro without actions goes at once";
    EXPECT_EQ(dialog.macro_names().size(), 2u);

    dialog.add_macro();
    dialog.toggle_recording();
    tap(kB);
    dialog.toggle_recording();
    prompts.answers = {true};
    dialog.delete_macro();
    EXPECT_EQ(prompts.questions.size(), 2u) << "a new macro with actions asks";
    EXPECT_EQ(dialog.macro_names().size(), 2u);
}

TEST_F(MacroPage, DeleteQuestionComesFromTheLanguageFile) {
    IniFile ini;
    ini.set("LANGUAGE", "language", "0");
    ini.set("CHINESE", "MACRO_DELETE_CONFIRM", "删除 %s？");
    language = LanguageFile(ini);
    open_macro_page({"宏"});
    dialog.delete_macro();
    EXPECT_EQ(prompts.questions, std::vector<std::string>{"删除 宏？"});
}

TEST_F(MacroPage, TheFirstGKeyOfTheFirstProfileCountsAsAUser) {
    store_macros({"M1"});
    set_entry(g_button_slot(0, 0), AssignmentType::Macro, 1, 0);
    open_key(kA);
    dialog.press_page_button(AssignmentControl::PageMacro);
    dialog.delete_macro();
    EXPECT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(dialog.macro_names().size(), 1u);
}

TEST_F(MacroPage, TypingRenamesOrCreates) {
    open_macro_page({});
    dialog.type_macro_name("Boss");
    EXPECT_EQ(dialog.macro_names(), std::vector<std::string>{"Boss"});
    dialog.type_macro_name(std::string(300, 'x'));
    EXPECT_EQ(dialog.macro_names()[0].size(), MacroRecord::kMaxNameLength);
    dialog.apply(kProfile);
    EXPECT_EQ(stored_macros()[0].id, 1);
    EXPECT_EQ(entry(kA).param, 1u);
}

TEST_F(MacroPage, SelectingAnotherMacroKeepsTheEditsOfTheFirst) {
    open_macro_page({"M1", "M2"});
    dialog.toggle_recording();
    tap(kB);
    dialog.toggle_recording();
    dialog.set_cycles_text("9");
    dialog.select_macro(1);
    EXPECT_TRUE(dialog.action_rows().empty());
    EXPECT_EQ(dialog.cycles_text(), "1");
    dialog.select_macro(0);
    EXPECT_EQ(dialog.action_rows().size(), 2u);
    EXPECT_EQ(dialog.cycles_text(), "9");
}

TEST_F(MacroPage, OpenedOnAnotherPageNoMacroIsSelected) {
    open_macro_page_unselected({"M1"});
    EXPECT_EQ(dialog.selected_macro(), -1);
    EXPECT_FALSE(dialog.enabled(AssignmentControl::DeleteAction));
    dialog.type_macro_name("lost");
    EXPECT_EQ(dialog.macro_names(), std::vector<std::string>{"M1"});
}

// Record always has somewhere to record into: with no macro selected it makes a new one, and
// says why when there can be no more.
TEST_F(MacroPage, RecordWithNoMacroSelectedRecordsIntoANewOne) {
    open_macro_page_unselected({"M1"});
    ASSERT_EQ(dialog.selected_macro(), -1);
    EXPECT_TRUE(dialog.enabled(AssignmentControl::Record));
    dialog.toggle_recording();
    EXPECT_TRUE(dialog.recording());
    EXPECT_EQ(dialog.macro_names(), (std::vector<std::string>{"M1", "Macro1"}));
    EXPECT_EQ(dialog.selected_macro(), 1);
    tap(kB);
    dialog.toggle_recording();
    dialog.apply(kProfile);
    ASSERT_EQ(stored_macros().size(), 2u);
    EXPECT_EQ(stored_macros()[1].actions.size(), 2u);
    EXPECT_EQ(entry(kA).param, stored_macros()[1].id) << "the key plays what was recorded";
}

TEST_F(MacroPage, RecordWithNoMacroSelectedAndNoRoomSaysWhy) {
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i) {
        names.push_back("N" + std::to_string(i));
    }
    open_macro_page_unselected(names);
    ASSERT_EQ(dialog.selected_macro(), -1);
    dialog.toggle_recording();
    EXPECT_FALSE(dialog.recording());
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"The maximum number of macro: 100   "});
    EXPECT_EQ(dialog.key_stroke({kB, false, false}), KeyVerdict::Pass);
}

TEST_F(MacroPage, OpenedOnItsMacroSelectsIt) {
    store_macros({"M1", "M2", "M3"});
    set_entry(kA, AssignmentType::Macro, 3);
    open_key(kA);
    EXPECT_EQ(dialog.shown_page(), AssignmentType::Macro);
    EXPECT_EQ(dialog.selected_macro(), 2);
    EXPECT_FALSE(dialog.changed());
}

class ActionRows : public MacroPage {
protected:
    // A macro of four rows A, B, C, D (down), delays 10, 20, 30, 40.
    void SetUp() override {
        MacroRecord macro;
        macro.name = u"M";
        macro.id = 1;
        macro.actions = {{10, 0x1E, 0}, {20, 0x30, 0}, {30, 0x2E, 0}, {40, 0x20, 0}};
        { configuration.macros() = {macro}; }
        set_entry(kA, AssignmentType::Macro, 1);
        open_key(kA);
    }
    std::string keys() const {
        std::string text;
        for (const ActionRowText& row : dialog.action_rows()) {
            text += row.key;
        }
        return text;
    }
};

TEST_F(ActionRows, LoadedRowsKeepTheirDelays) {
    const auto rows = dialog.action_rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].key, "A");
    EXPECT_EQ(rows[0].direction, "\u2193");
    EXPECT_EQ(rows[3].delay, "40");
    EXPECT_FALSE(dialog.changed());
}

TEST_F(ActionRows, MoveButtonsKeepTheRowSelected) {
    dialog.select_action(1);
    dialog.move_action(RowMove::Top);
    EXPECT_EQ(keys(), "BACD");
    EXPECT_EQ(dialog.actions().selected(), 0);
    dialog.move_action(RowMove::Up);
    EXPECT_EQ(keys(), "BACD");
    dialog.move_action(RowMove::Bottom);
    EXPECT_EQ(keys(), "ACDB");
    EXPECT_EQ(dialog.actions().selected(), 3);
    dialog.move_action(RowMove::Down);
    EXPECT_EQ(keys(), "ACDB");
    dialog.move_action(RowMove::Up);
    EXPECT_EQ(keys(), "ACBD");
    EXPECT_EQ(dialog.actions().selected(), 2);
    // A row keeps its delay wherever it goes.
    EXPECT_EQ(dialog.action_rows()[2].delay, "20");
    EXPECT_TRUE(dialog.changed());
}

TEST_F(ActionRows, DeleteAndClear) {
    dialog.delete_action();
    EXPECT_EQ(keys(), "ABCD");
    dialog.select_action(2);
    dialog.delete_action();
    EXPECT_EQ(keys(), "ABD");
    dialog.clear_actions();
    EXPECT_EQ(prompts.questions,
              std::vector<std::string>{"Really need to clear the macro action? "});
    EXPECT_EQ(keys(), "ABD");
    prompts.answers = {true};
    dialog.clear_actions();
    EXPECT_EQ(keys(), "");
    dialog.clear_actions();
    EXPECT_EQ(prompts.questions.size(), 2u); // an empty list asks nothing
}

TEST_F(ActionRows, DelayCellsAreCappedAndRoundedDown) {
    EXPECT_EQ(dialog.commit_delay(0, "45000"), "40000");
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Maximum delay time is: 40000(ms) "});
    EXPECT_EQ(dialog.actions().rows()[0].delay, 40000u);
    EXPECT_EQ(dialog.commit_delay(1, "123"), "120");
    EXPECT_EQ(dialog.commit_delay(2, "40000"), "40000");
    EXPECT_EQ(dialog.commit_delay(3, "99999999999999999999"), "40000");
    EXPECT_EQ(dialog.commit_delay(3, ""), "0");
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(dialog.actions().rows()[1].delay, 120u);
}

TEST_F(ActionRows, KeyAndDirectionCells) {
    EXPECT_EQ(dialog.key_choice_of_row(1), 1); // B
    dialog.edit_key(1, 103);                   // Right Shift
    EXPECT_EQ(dialog.actions().rows()[1].key, 0x036);
    dialog.edit_direction(1, MacroAction::kUp);
    EXPECT_EQ(dialog.action_rows()[1].direction, "\u2191");
    EXPECT_EQ(dialog.key_choice_names().size(), kKeyChoiceCount);
    EXPECT_TRUE(dialog.changed());
}

TEST_F(ActionRows, CyclesFieldIsClamped) {
    EXPECT_EQ(dialog.set_cycles_text("0"), "1");
    EXPECT_EQ(dialog.set_cycles_text("300"), "255");
    EXPECT_EQ(dialog.set_cycles_text("-4"), "1");
    EXPECT_EQ(dialog.set_cycles_text("12"), "12");
    dialog.apply(kProfile);
    EXPECT_EQ(stored_macros()[0].cycles, 12);
    EXPECT_EQ(entry(kA).aux_code, 12);
}

using Pages = AssignmentFixture;

TEST_F(Pages, ClearOnTheShownKeyLeavesApplyAsItWas) {
    set_entry(kA, AssignmentType::Key, kB);
    open_key(kA);
    EXPECT_EQ(dialog.captured_key_text(), "B");
    dialog.clear();
    EXPECT_EQ(dialog.captured_key_text(), "");
    EXPECT_EQ(dialog.page_type(), AssignmentType::Default);
    EXPECT_FALSE(dialog.changed());
    dialog.ok(kProfile);
    EXPECT_TRUE(entry(kA).is(AssignmentType::Default));
}

TEST_F(Pages, ClearFromAnotherPageSetsChanged) {
    set_entry(kA, AssignmentType::Media, 3);
    open_key(kA);
    EXPECT_EQ(dialog.selected_media(), 3);
    EXPECT_EQ(dialog.pressed_page_button(), AssignmentControl::PageMedia);
    dialog.clear();
    EXPECT_EQ(dialog.pressed_page_button(), AssignmentControl::PageKey);
    EXPECT_EQ(dialog.page_type(), AssignmentType::Default);
    EXPECT_TRUE(dialog.changed());
    EXPECT_TRUE(dialog.enabled(AssignmentControl::Apply));
}

TEST_F(Pages, AListIndexOutsideItsListReadsAsTheFirstItem) {
    set_entry(kA, AssignmentType::Function, 40);
    open_key(kA);
    EXPECT_EQ(dialog.selected_function(), 0);
    dialog.apply(kProfile);
    EXPECT_EQ(entry(kA).param, 0u);
}

TEST_F(Pages, KeyPageButtonOnlyActsFromAnotherPage) {
    open_key(kA);
    dialog.press_page_button(AssignmentControl::PageKey);
    EXPECT_FALSE(dialog.changed());
    dialog.press_page_button(AssignmentControl::PageFunction);
    dialog.press_page_button(AssignmentControl::PageFunction);
    EXPECT_TRUE(dialog.changed());
    EXPECT_TRUE(dialog.visible(AssignmentControl::FunctionList));
    EXPECT_FALSE(dialog.visible(AssignmentControl::KeyField));
    EXPECT_FALSE(dialog.visible(AssignmentControl::MacroList));
    EXPECT_TRUE(dialog.visible(AssignmentControl::Osk));
}

TEST_F(Pages, MacroOnlyModeShowsOnlyTheMacroPage) {
    dialog.open(g_request(8, 0), kProfile);
    EXPECT_EQ(dialog.shown_page(), AssignmentType::Macro);
    for (const AssignmentControl id : {AssignmentControl::PageKey, AssignmentControl::PageMedia,
                                       AssignmentControl::PageFunction, AssignmentControl::Clear}) {
        EXPECT_FALSE(dialog.enabled(id)) << id_of(id);
    }
    EXPECT_TRUE(dialog.enabled(AssignmentControl::PageMacro));
    EXPECT_FALSE(dialog.visible(AssignmentControl::KeyPrompt));
    EXPECT_TRUE(dialog.visible(AssignmentControl::ActionList));
    dialog.press_page_button(AssignmentControl::PageKey);
    dialog.clear();
    EXPECT_EQ(dialog.shown_page(), AssignmentType::Macro);
    EXPECT_FALSE(dialog.captures_keys());
}

using Capture = AssignmentFixture;

TEST_F(Capture, TakesTheFirstKeyDownAndSwallowsTheRest) {
    open_key(kA);
    EXPECT_TRUE(dialog.captures_keys());
    EXPECT_EQ(dialog.key_stroke({kB, false, false}), KeyVerdict::Swallow);
    EXPECT_EQ(dialog.key_stroke({0x02E, true, false}), KeyVerdict::Swallow);
    EXPECT_EQ(dialog.key_stroke({0x02E, false, true}), KeyVerdict::Swallow);
    EXPECT_EQ(dialog.captured_key(), kB);
    EXPECT_EQ(dialog.captured_key_text(), "B");
    EXPECT_TRUE(dialog.changed());
}

TEST_F(Capture, MediaKeysAndUnknownKeysPass) {
    open_key(kA);
    EXPECT_EQ(dialog.key_stroke({kVolumeUp, false, false}), KeyVerdict::Pass);
    EXPECT_EQ(dialog.key_stroke({0, false, false}), KeyVerdict::Pass);
    EXPECT_EQ(dialog.captured_key(), 0);
    EXPECT_FALSE(dialog.changed());
}

TEST_F(Capture, PrintScreenIsTakenOnRelease) {
    open_key(kA);
    dialog.key_stroke({kPrintScreen, true, false});
    EXPECT_EQ(dialog.captured_key(), kPrintScreen);
    EXPECT_EQ(dialog.captured_key_text(), "Print Screen");
}

TEST_F(Capture, OtherPagesLetKeysThrough) {
    open_key(kA);
    dialog.press_page_button(AssignmentControl::PageMedia);
    EXPECT_FALSE(dialog.captures_keys());
    EXPECT_EQ(dialog.key_stroke({kB, false, false}), KeyVerdict::Pass);
    dialog.cancel();
    EXPECT_EQ(dialog.key_stroke({kB, false, false}), KeyVerdict::Pass);
}

} // namespace
} // namespace tarvenor::testing
