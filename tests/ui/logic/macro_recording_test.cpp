#include "assignment_fixture.h"

#include "ui/logic/control_ids.h"

namespace tarvenor::testing {
namespace {

struct Row {
    KeyCode key;
    std::uint16_t direction;
    std::uint32_t delay;
    friend bool operator==(const Row&, const Row&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& r) {
        return out << std::hex << r.key << (r.direction ? " up " : " down ") << std::dec << r.delay;
    }
};

constexpr std::uint16_t kDown = MacroAction::kDown;
constexpr std::uint16_t kUp = MacroAction::kUp;
constexpr KeyCode kC = 0x02E;

// The macro page of a key, on a macro with the given actions, with the record-delay option set.
class Recording : public AssignmentFixture {
protected:
    void start(int option, std::vector<MacroAction> actions = {}) {
        settings.values["RecordDelay"] = std::to_string(option);
        MacroRecord macro;
        macro.name = u"M";
        macro.id = 1;
        macro.actions = std::move(actions);
        { configuration.macros() = {macro}; }
        set_entry(kA, AssignmentType::Macro, 1);
        open_key(kA);
        dialog.toggle_recording();
        ASSERT_TRUE(dialog.recording());
    }
    // A keystroke `after` ms after the previous one.
    void at(std::uint32_t after, KeyCode code, bool release, bool auto_repeat = false) {
        clock.advance(after);
        press(code, release, auto_repeat);
    }
    // A down, A up, B down, B up, 120, 80 and 200 ms apart.
    void tap_a_then_b() {
        at(30, kA, false);
        at(120, kA, true);
        at(80, kB, false);
        at(200, kB, true);
    }
    std::vector<Row> rows() const {
        std::vector<Row> rows;
        for (const MacroAction& a : dialog.actions().rows()) {
            rows.push_back({a.key, a.direction, a.delay});
        }
        return rows;
    }
};

TEST_F(Recording, MeasuredDelaysLandOnThePreviousRow) {
    start(1);
    tap_a_then_b();
    EXPECT_EQ(rows(),
              (std::vector<Row>{{kA, kDown, 120}, {kA, kUp, 80}, {kB, kDown, 200}, {kB, kUp, 0}}));
    EXPECT_TRUE(dialog.changed());
}

TEST_F(Recording, WithoutTheOptionEveryDelayIsFifty) {
    start(0);
    tap_a_then_b();
    EXPECT_EQ(rows(),
              (std::vector<Row>{{kA, kDown, 50}, {kA, kUp, 50}, {kB, kDown, 50}, {kB, kUp, 0}}));
}

TEST_F(Recording, AHeldKeyGivesOneDownAndOneUp) {
    start(1);
    at(10, kA, false);
    for (int i = 0; i < 20; ++i) {
        at(30, kA, true, true); // X11 sends a release before each repeat
        at(0, kA, false, true);
    }
    at(30, kA, true);
    EXPECT_EQ(rows(), (std::vector<Row>{{kA, kDown, 630}, {kA, kUp, 0}}));
}

TEST_F(Recording, MakeOnlyKeysAddAnExtraDown) {
    start(1);
    at(10, kA, false);
    at(30, kPrintScreen, false);
    EXPECT_EQ(rows(), (std::vector<Row>{
                          {kA, kDown, 2}, {kPrintScreen, kDown, 30}, {kPrintScreen, kDown, 0}}));
    at(70, kPrintScreen, true);
    EXPECT_EQ(rows().size(), 5u);
    EXPECT_EQ(rows()[2], (Row{kPrintScreen, kDown, 2}));
    EXPECT_EQ(rows()[3], (Row{kPrintScreen, kDown, 70}));
    EXPECT_EQ(rows()[4], (Row{kPrintScreen, kUp, 0}));
}

TEST_F(Recording, MakeOnlyKeysWithoutTheOption) {
    start(0);
    at(10, kA, false);
    at(30, kPrintScreen, false);
    EXPECT_EQ(rows(), (std::vector<Row>{
                          {kA, kDown, 50}, {kPrintScreen, kDown, 50}, {kPrintScreen, kDown, 0}}));
}

TEST_F(Recording, LongPausesAreCapped) {
    start(1);
    at(10, kA, false);
    at(50000, kA, true);
    at(40000, kB, false);
    EXPECT_EQ(rows(), (std::vector<Row>{{kA, kDown, 40000}, {kA, kUp, 40000}, {kB, kDown, 0}}));
}

TEST_F(Recording, DelaysSurviveTheTickWrapping) {
    clock.now = 0xFFFFFFF0u;
    start(1);
    at(10, kA, false);
    at(100, kA, true);
    EXPECT_EQ(rows()[0].delay, 100u);
}

TEST_F(Recording, AFullListDropsFurtherKeystrokes) {
    start(1, std::vector<MacroAction>(1999, MacroAction{10, kB, kDown}));
    at(10, kA, false);
    at(10, kA, true);
    at(10, kB, false);
    EXPECT_EQ(rows().size(), 2000u);
    EXPECT_EQ(rows().back(), (Row{kA, kDown, 10}));
    EXPECT_TRUE(dialog.recording());
}

TEST_F(Recording, RecordsIntoTheMiddleAfterTheSelectedRow) {
    start(1, {{10, 0x02D, kDown}, {20, 0x02D, kUp}, {30, 0x015, kDown}});
    dialog.select_action(0);
    at(5, kA, false);
    at(7, kA, true);
    EXPECT_EQ(rows(), (std::vector<Row>{{0x02D, kDown, 5},
                                        {kA, kDown, 7},
                                        {kA, kUp, 10},
                                        {0x02D, kUp, 20},
                                        {0x015, kDown, 30}}));
    EXPECT_EQ(dialog.actions().selected(), 2);
}

TEST_F(Recording, WinKeyRepeatsAreKnownWithoutTheirFlag) {
    start(1);
    at(10, kWin, false);
    at(30, kWin, false);
    at(30, kWin, false);
    at(30, kWin, true);
    at(10, kWin, false);
    EXPECT_EQ(rows(), (std::vector<Row>{{kWin, kDown, 90}, {kWin, kUp, 10}, {kWin, kDown, 0}}));
}

TEST_F(Recording, MediaKeysAndUnknownKeysReachTheSystem) {
    start(1);
    EXPECT_EQ(dialog.key_stroke({kMute, false, false}), KeyVerdict::Pass);
    EXPECT_EQ(dialog.key_stroke({0, false, false}), KeyVerdict::Pass);
    EXPECT_EQ(dialog.key_stroke({kA, false, false}), KeyVerdict::Swallow);
    EXPECT_EQ(dialog.key_stroke({kA, false, true}), KeyVerdict::Swallow);
    EXPECT_EQ(rows().size(), 1u);
}

TEST_F(Recording, LocksTheMacroChoiceWhileItRuns) {
    start(1);
    EXPECT_EQ(dialog.record_button_text(), TextKey::MacroActionStopRecord);
    for (const AssignmentControl id : {AssignmentControl::AddMacro, AssignmentControl::DeleteMacro,
                                       AssignmentControl::MacroList}) {
        EXPECT_FALSE(dialog.enabled(id)) << id_of(id);
    }
    EXPECT_TRUE(dialog.wants_keyboard());
    dialog.add_macro();
    dialog.type_macro_name("X");
    EXPECT_EQ(dialog.macro_names(), std::vector<std::string>{"M"});
    dialog.toggle_recording();
    EXPECT_EQ(dialog.record_button_text(), TextKey::MacroActionRecord);
    EXPECT_TRUE(dialog.enabled(AssignmentControl::AddMacro));
    EXPECT_FALSE(dialog.wants_keyboard());
}

struct Stopper {
    const char* name;
    void (*act)(AssignmentLogic&);
};

class RecordingStops : public Recording, public ::testing::WithParamInterface<Stopper> {};

TEST_P(RecordingStops, AndKeysReachTheSystemAgain) {
    start(1);
    GetParam().act(dialog);
    EXPECT_FALSE(dialog.recording());
    dialog.press_page_button(AssignmentControl::PageMacro);
    EXPECT_EQ(dialog.key_stroke({kB, false, false}), KeyVerdict::Pass);
}

const Stopper kStoppers[] = {
    {"KeyPage", [](AssignmentLogic& d) { d.press_page_button(AssignmentControl::PageKey); }},
    {"MediaPage", [](AssignmentLogic& d) { d.press_page_button(AssignmentControl::PageMedia); }},
    {"FunctionPage",
     [](AssignmentLogic& d) { d.press_page_button(AssignmentControl::PageFunction); }},
    {"Clear", [](AssignmentLogic& d) { d.clear(); }},
    {"DelayEdit", [](AssignmentLogic& d) { d.begin_delay_edit(); }},
    {"Apply", [](AssignmentLogic& d) { d.apply(0); }},
    {"ApplyWithoutProfile", [](AssignmentLogic& d) { d.apply(-1); }},
    {"Ok", [](AssignmentLogic& d) { d.ok(0); }},
    {"Cancel", [](AssignmentLogic& d) { d.cancel(); }},
    {"Toggle", [](AssignmentLogic& d) { d.toggle_recording(); }},
    {"KeyboardLost", [](AssignmentLogic& d) { d.keyboard_lost(); }},
};

INSTANTIATE_TEST_SUITE_P(Paths, RecordingStops, ::testing::ValuesIn(kStoppers),
                         [](const auto& info) { return std::string(info.param.name); });

// The window losing the keyboard mid-recording (Wayland has no grab): keys still down get their
// release rows, in the order they went down, and the recording ends.
TEST_F(Recording, KeysHeldWhenTheKeyboardIsLostAreReleased) {
    start(0);
    at(10, kA, false);
    at(10, kB, false);
    at(10, kC, false);
    at(10, kB, true);
    dialog.keyboard_lost();
    EXPECT_FALSE(dialog.recording());
    EXPECT_EQ(rows(), (std::vector<Row>{{kA, kDown, 50},
                                        {kB, kDown, 50},
                                        {kC, kDown, 50},
                                        {kB, kUp, 50},
                                        {kA, kUp, 50},
                                        {kC, kUp, 0}}));
    // Nothing held any more: losing the keyboard again adds nothing.
    dialog.toggle_recording();
    dialog.keyboard_lost();
    EXPECT_EQ(rows().size(), 6u);
}

TEST_F(Recording, KeyboardLostWithNothingHeldOnlyStops) {
    start(1);
    tap_a_then_b();
    dialog.keyboard_lost();
    EXPECT_FALSE(dialog.recording());
    EXPECT_EQ(rows().size(), 4u);
    EXPECT_EQ(rows().back(), (Row{kB, kUp, 0}));
}

TEST_F(Recording, RecordedMacroIsStoredOnApply) {
    start(1);
    at(10, kA, false);
    at(40, kA, true);
    dialog.ok(0);
    const MacroStore store = stored_macros();
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(store[0].actions, (std::vector<MacroAction>{{40, kA, kDown}, {0, kA, kUp}}));
}

using RecordDelayOption = AssignmentFixture;

TEST_F(RecordDelayOption, IsReadNormalisedAndToggled) {
    settings.values["RecordDelay"] = "7";
    open_key(kA);
    EXPECT_FALSE(dialog.record_delay());
    EXPECT_EQ(settings.values["RecordDelay"], "0");
    dialog.toggle_record_delay();
    EXPECT_TRUE(dialog.record_delay());
    EXPECT_EQ(settings.values["RecordDelay"], "1");
    dialog.cancel();
    open_key(kA);
    EXPECT_TRUE(dialog.record_delay());
}

} // namespace
} // namespace tarvenor::testing
