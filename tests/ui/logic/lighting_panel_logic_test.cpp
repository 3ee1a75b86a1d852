#include "lighting_fixture.h"

#include "ui/logic/keyboard_map.h"

#include <algorithm>

namespace tarvenor::testing {
namespace {

const Bytes kWhite{0xFF, 0xFF, 0xFF};
const Bytes kBlack{0, 0, 0};
const Bytes kReset{0x01, 0x04, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
                   0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
                   0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
constexpr int kKeyA = 1058;   // lighting position 64
constexpr int kKeyEsc = 1022; // lighting position 0
constexpr int kKeyOne = 1030; // lighting position 22
constexpr int kG1 = 1000;
constexpr ColourValue kRedValue = 0x0000FF;
constexpr ColourValue kGreenValue = 0x00FF00;

bool light_position_used(int position) {
    return std::ranges::any_of(lit_key_buttons(),
                               [&](int id) { return light_position_of(id) == position; });
}

int list_position(const LightingPanelLogic& panel, int effect) {
    const auto& list = panel.effect_list();
    return static_cast<int>(std::ranges::find(list, effect) - list.begin());
}

// The panel on the factory keyboard with the light switch on in the per-key effect.
class PerKeyTest : public LightingLogicTest {
protected:
    void SetUp() override {
        LightingLogicTest::SetUp();
        arrive();
        panel_->click_light_switch();
        panel_->select_effect(list_position(*panel_, 20));
        jobs_.settle();
        clear_traffic();
    }
};

// The panel's key buttons and the lighting editor's lit keys are two lists in one order: a key
// painted on the window must be the key the editor writes.
TEST(LitKeys, TheButtonsAndTheEditorsKeysAreTheSameKeysInTheSameOrder) {
    const std::vector<int>& buttons = lit_key_buttons();
    const std::vector<int>& positions = LightingEditor::key_positions();
    ASSERT_EQ(buttons.size(), positions.size());
    for (std::size_t key = 0; key < buttons.size(); ++key) {
        EXPECT_EQ(light_position_of(buttons[key]), positions[key]) << "key " << key;
    }
}

TEST_F(LightingLogicTest, ArrivalReadsEffectsColoursAndRecordsInOneBracket) {
    start();
    commands_for_jobs_ = commands_.get();
    panel_->read_lighting(true, true);
    EXPECT_TRUE(requests().empty()) << "nothing is read before the worker runs";
    jobs_.settle();

    std::vector<Sent> expected{{3, 0, {44}}, {1, 0, {0}}};
    for (int profile = 0; profile < 3; ++profile) {
        for (int first = 0; first < 126; first += 18) {
            expected.push_back({16, profile * 512 + first * 3, {54}});
        }
    }
    expected =
        expected + std::vector<Sent>{{5, 0, {56}}, {5, 42, {56}}, {5, 84, {56}}, {2, 0, {0}}};
    EXPECT_EQ(sent(), expected);

    // The factory keyboard: effect 1 in red at full brightness, every key white and following
    // the white base colour.
    EXPECT_EQ(panel_->effect_list().size(), 19u);
    EXPECT_EQ(panel_->effect_list().back(), 20);
    EXPECT_EQ(panel_->record().effect(), 1);
    EXPECT_EQ(panel_->selected_position(), 0);
    EXPECT_EQ(panel_->brightness_image(), "4.bmp");
    EXPECT_EQ(panel_->speed_image(), "9.bmp");
    EXPECT_TRUE(panel_->follows_base(2, kKeyA));
    EXPECT_FALSE(panel_->light_switch());
    EXPECT_FALSE(panel_->shown_controls().effect_list) << "switch off: only the switch shows";
}

TEST_F(LightingLogicTest, ArrivalRecomputesFollowersFromTheColoursRead) {
    start();
    poke_memory("colours.bin", 512 + 64 * 3, {0x10, 0x20, 0x30}); // A of profile 1
    commands_for_jobs_ = commands_.get();
    panel_->read_lighting(true, true);
    jobs_.settle();
    EXPECT_FALSE(panel_->follows_base(1, kKeyA));
    EXPECT_TRUE(panel_->follows_base(0, kKeyA));
    EXPECT_TRUE(panel_->follows_base(1, kKeyEsc));
}

TEST_F(LightingLogicTest, FailedReadKeepsWhatWasShownAndIsRepeatedWhenTheKeyboardAnswers) {
    arrive();
    const std::vector<int> effects = panel_->effect_list();
    ASSERT_FALSE(effects.empty());
    panel_->move_brightness(2);
    jobs_.settle();
    control("fault status-ff"); // until further notice
    clear_traffic();
    panel_->read_lighting(false);
    jobs_.settle();
    EXPECT_EQ(sent(), (std::vector<Sent>(3, Sent{3, 0, {44}})))
        << "the read stops after the parameters";
    EXPECT_EQ(panel_->effect_list(), effects) << "the list does not empty";
    EXPECT_EQ(panel_->record().brightness(), 2);
    EXPECT_TRUE(panel_->read_failed());
    EXPECT_FALSE(panel_->write_failed());

    // The keyboard answers again: the next change reaches it and the lighting is read behind it.
    control("fault none");
    clear_traffic();
    panel_->move_brightness(3);
    jobs_.settle();
    const auto got = sent();
    ASSERT_EQ(got.size() > 3, true);
    EXPECT_EQ(got[1], setting(0, 1, {3}));
    EXPECT_EQ(got[3], (Sent{3, 0, {44}})) << "read again behind the change";
    EXPECT_FALSE(panel_->read_failed());
}

TEST_F(LightingLogicTest, TheSwitchTurnedOnAfterAFailedArrivalReadShowsNothingMadeUp) {
    arrive({{"TARVENOR_SIM_FAULT", "status-ff 3"}});
    EXPECT_TRUE(panel_->effect_list().empty()) << "nothing was ever read";
    EXPECT_TRUE(panel_->read_failed());
    control("fault none");
    panel_->click_light_switch();
    jobs_.settle();
    EXPECT_FALSE(panel_->effect_list().empty()) << "filled as soon as the keyboard answers";
    EXPECT_EQ(panel_->record().effect(), record_in_memory(0)[0]);
}

TEST_F(LightingLogicTest, ARefusedReportRateGoesBackToTheRateTheKeyboardHolds) {
    arrive();
    const int held = panel_->record().report_rate();
    control("fault no-answer");
    panel_->choose_report_rate(0, held == 0 ? 2 : 0);
    EXPECT_NE(panel_->record().report_rate(), held) << "shown at once";
    jobs_.settle();
    EXPECT_EQ(panel_->record().report_rate(), held) << "the keyboard never took it";
    EXPECT_TRUE(panel_->write_failed());
}

TEST_F(LightingLogicTest, BrightnessAndSpeedWriteOnlyWhenTheirPositionChanges) {
    arrive();
    panel_->move_brightness(4); // already 4
    panel_->move_speed(4);      // speed 0 is position 4
    jobs_.settle();
    EXPECT_TRUE(sent().empty());

    panel_->move_speed(1);
    EXPECT_EQ(panel_->speed_image(), "6.bmp") << "shown before the keyboard answers";
    EXPECT_EQ(panel_->record().speed(), 3);
    panel_->move_speed(1);
    panel_->move_brightness(2);
    EXPECT_EQ(panel_->brightness_image(), "2.bmp");
    jobs_.settle();
    EXPECT_EQ(sent(), bracketed({setting(0, 2, {3})}) + bracketed({setting(0, 1, {2})}));
    EXPECT_EQ(record_in_memory(0)[1], 2);
    EXPECT_EQ(record_in_memory(0)[2], 3);
}

TEST_F(LightingLogicTest, SliderImagesForValuesReadFromTheKeyboard) {
    start();
    poke_memory("settings.bin", 1, {7, 5});
    commands_for_jobs_ = commands_.get();
    panel_->read_lighting(true, true);
    jobs_.settle();
    EXPECT_EQ(panel_->brightness_image(), "7.bmp");
    EXPECT_EQ(panel_->speed_image(), "6.bmp");
    poke_memory("settings.bin", 1, {30, 26});
    panel_->read_lighting(false);
    jobs_.settle();
    EXPECT_EQ(panel_->brightness_image(), "7.bmp") << "above 25 the image stays";
    EXPECT_EQ(panel_->speed_image(), "6.bmp");
    clear_traffic();
    panel_->move_brightness(4); // position 4 of a brightness of 30 is a change
    jobs_.settle();
    EXPECT_EQ(sent(), bracketed({setting(0, 1, {4})}));
}

TEST_F(LightingLogicTest, EffectSelectionWritesTheRandomFlagOnlyForColourEffects) {
    arrive();
    panel_->show_profile(1);
    jobs_.settle();
    clear_traffic();
    panel_->select_effect(list_position(*panel_, 5));
    panel_->select_effect(list_position(*panel_, 12));
    panel_->select_effect(list_position(*panel_, 20));
    jobs_.settle();
    EXPECT_EQ(sent(), bracketed({setting(1, 0, {5}), setting(1, 4, {1})}) +
                          bracketed({setting(1, 0, {12})}) + bracketed({setting(1, 0, {20})}));
    EXPECT_EQ(record_in_memory(1)[0], 20);
    EXPECT_EQ(record_in_memory(0)[0], 1) << "the other profiles are untouched";
}

TEST_F(LightingLogicTest, SingleByteControlsWriteTheirOffset) {
    arrive();
    struct Case {
        std::function<void()> act;
        int offset;
        std::uint8_t value;
    };
    const Case cases[] = {
        {[&] { panel_->click_direction(true); }, 3, 255},
        {[&] { panel_->click_direction(false); }, 3, 0},
        {[&] { panel_->choose_tool(1); }, 16, 1},
        {[&] { panel_->choose_colour_choice(2); }, 17, 2},
        {[&] { panel_->click_random(); }, 4, 0}, // factory: random on
        {[&] { panel_->click_random(); }, 4, 1},
    };
    for (const Case& c : cases) {
        clear_traffic();
        c.act();
        jobs_.settle();
        EXPECT_EQ(sent(), bracketed({setting(0, c.offset, {c.value})})) << c.offset;
        EXPECT_EQ(record_in_memory(0)[c.offset], c.value) << c.offset;
    }
    clear_traffic();
    panel_->choose_tool(2);
    panel_->choose_colour_choice(4);
    jobs_.settle();
    EXPECT_TRUE(sent().empty()) << "values outside the controls are not sent";
}

TEST_F(LightingLogicTest, EffectColourTurnsRandomOffInTheSameWrite) {
    arrive();
    ASSERT_TRUE(panel_->record().random_colour());
    panel_->click_light_switch();
    panel_->choose_effect_colour(0x332211);
    EXPECT_FALSE(panel_->record().random_colour());
    EXPECT_EQ(panel_->frame(kKeyA), 0x332211u) << "the keys are framed with the colour";
    jobs_.settle();
    EXPECT_EQ(sent(), bracketed({setting(0, 4, {0}), setting(0, 5, {0x11, 0x22, 0x33})}));
    EXPECT_EQ(panel_->record().effect_colour(), 0x332211u);
}

TEST_F(LightingLogicTest, UserColourWritesItsThreeBytes) {
    arrive();
    panel_->choose_user_colour(0x0000FF);
    jobs_.settle();
    EXPECT_EQ(sent(), bracketed({setting(0, 12, {0xFF, 0, 0})}));
}

TEST_F(PerKeyTest, NewBaseColourWritesOffsetNineTwiceAndRecoloursFollowers) {
    panel_->choose_tool(0);
    panel_->choose_user_colour(kRedValue);
    panel_->click_key(kKeyA); // red: no longer a follower
    panel_->choose_user_colour(0xFFFFFF);
    panel_->click_key(kKeyEsc); // painted with the base colour: still a follower
    jobs_.settle();
    clear_traffic();

    panel_->choose_base_colour(kGreenValue);
    EXPECT_EQ(panel_->frame(kKeyEsc), kGreenValue);
    EXPECT_EQ(panel_->frame(kKeyA), kRedValue);
    jobs_.settle();
    const auto colour_of = [](int position) {
        if (position == 64) {
            return Bytes{0xFF, 0, 0};
        }
        // Positions without a key button are nobody's follower.
        return light_position_used(position) ? Bytes{0, 0xFF, 0} : kWhite;
    };
    EXPECT_EQ(sent(),
              bracketed(std::vector<Sent>{setting(0, 9, {0, 0xFF, 0})} + row_pieces(0, colour_of)) +
                  bracketed({setting(0, 9, {0, 0xFF, 0})}));
    EXPECT_EQ(colour_in_memory(0, 0), (Bytes{0, 0xFF, 0}));
    EXPECT_EQ(colour_in_memory(0, 64), (Bytes{0xFF, 0, 0}));

    clear_traffic();
    panel_->choose_base_colour(kGreenValue);
    jobs_.settle();
    EXPECT_EQ(sent(), bracketed({setting(0, 9, {0, 0xFF, 0})})) << "the same colour: once";
}

TEST_F(PerKeyTest, PaintingWithEitherToolWritesTheKeysPosition) {
    panel_->choose_user_colour(kRedValue);
    panel_->choose_tool(0);
    jobs_.settle();
    clear_traffic();
    EXPECT_TRUE(panel_->click_key(id_of(MainControl::Fn)));
    EXPECT_EQ(panel_->frame(id_of(MainControl::Fn)), kRedValue);
    EXPECT_FALSE(panel_->follows_base(0, id_of(MainControl::Fn)));
    panel_->choose_tool(1);
    EXPECT_TRUE(panel_->click_key(kG1));
    EXPECT_TRUE(panel_->follows_base(0, kG1));
    EXPECT_TRUE(panel_->click_key(1016)) << "D1 has no lighting position: taken, nothing sent";
    jobs_.settle();
    EXPECT_EQ(sent(), bracketed({key_colour(0, 110, {0xFF, 0, 0})}) +
                          bracketed({setting(0, 16, {1})}) +
                          bracketed({key_colour(0, 125, kWhite)}));
    EXPECT_EQ(colour_in_memory(0, 110), (Bytes{0xFF, 0, 0}));
    EXPECT_EQ(panel_->row(0).bytes[110 * 3], 0xFF);
}

// D1..D6 stand over the F1..F4 row while Flip is on; they have no light of their own, yet they
// are framed wherever the keys around them are.
TEST_F(PerKeyTest, TheDKeysShowTheFrameOfTheRowTheyStandOver) {
    constexpr int kF1 = 1010;
    constexpr int kF3 = 1012;
    constexpr int kD1 = 1016;
    const std::vector<int>& framed = framed_key_buttons();
    for (const int d_key : control::kDKeys) {
        EXPECT_EQ(std::ranges::count(framed, d_key), 1) << d_key;
        EXPECT_EQ(panel_->frame(d_key), 0xFFFFFFu) << "the row's one colour: " << d_key;
    }
    panel_->choose_user_colour(kRedValue);
    panel_->choose_tool(0);
    panel_->click_key(kF3);
    EXPECT_EQ(panel_->frame(kF3), kRedValue);
    EXPECT_EQ(panel_->frame(kD1), LightingPanelLogic::kMixedRowFrame)
        << "the row under it shows more than one colour";
    panel_->click_key(kF1);
    EXPECT_EQ(panel_->frame(kD1), LightingPanelLogic::kMixedRowFrame);
    for (const int f_key : {1011, 1013}) {
        panel_->click_key(f_key);
    }
    EXPECT_EQ(panel_->frame(kD1), kRedValue) << "the whole row red again: one colour";

    panel_->select_effect(list_position(*panel_, 4)); // no frames
    EXPECT_FALSE(panel_->frame(kD1));
    panel_->select_effect(list_position(*panel_, 1));
    panel_->click_random(); // random off: every key in the effect colour
    EXPECT_EQ(panel_->frame(kD1), panel_->frame(kF1));
    EXPECT_TRUE(panel_->frame(kD1));
    panel_->turn_switch_off();
    EXPECT_FALSE(panel_->frame(kD1));
}

TEST_F(LightingLogicTest, KeyClicksOutsideThePerKeyEffect) {
    arrive();
    EXPECT_FALSE(panel_->click_key(kKeyA)) << "switch off: the click assigns";
    panel_->click_light_switch();
    panel_->select_effect(list_position(*panel_, 6));
    jobs_.settle();
    clear_traffic();
    EXPECT_TRUE(panel_->click_key(kKeyA)) << "switch on: the lighting takes the click";
    jobs_.settle();
    EXPECT_TRUE(sent().empty());
}

TEST_F(PerKeyTest, PresetPaintsItsKeysOnBlackWithTwoRowWrites) {
    panel_->apply_preset(1); // MMO
    EXPECT_EQ(panel_->frame(kKeyOne), kGreenValue);
    EXPECT_EQ(panel_->frame(kKeyEsc), 0u);
    EXPECT_EQ(panel_->record().base_colour(), 0u);
    EXPECT_TRUE(panel_->follows_base(0, kKeyEsc));
    EXPECT_FALSE(panel_->follows_base(0, kKeyOne));
    jobs_.settle();

    const auto black = [](int) { return Bytes{0, 0, 0}; };
    std::map<int, Bytes> painted;
    for (int position = 22; position <= 33; ++position) {
        painted[position] = {0, 0xFF, 0};
    }
    for (int position : {44, 64, 65, 66}) {
        painted[position] = {0xFF, 0, 0};
    }
    painted[76] = {0xFF, 0, 0xFF}; // Enter
    const auto preset = [&](int position) {
        const auto found = painted.find(position);
        if (found != painted.end()) {
            return found->second;
        }
        // Positions without a key button keep the white they had.
        return light_position_used(position) ? Bytes{0, 0, 0} : kWhite;
    };
    EXPECT_EQ(sent(),
              bracketed(std::vector<Sent>{setting(0, 9, kBlack)} +
                        row_pieces(
                            0, [&](int p) { return light_position_used(p) ? black(p) : kWhite; })) +
                  bracketed(std::vector<Sent>{setting(0, 9, kBlack)} + row_pieces(0, preset)));
    EXPECT_EQ(colour_in_memory(0, 76), (Bytes{0xFF, 0, 0xFF}));
    EXPECT_EQ(colour_in_memory(0, 0), kBlack);

    // The black keys follow the base colour from now on.
    clear_traffic();
    panel_->choose_base_colour(0xFFFFFF);
    jobs_.settle();
    EXPECT_EQ(colour_in_memory(0, 0), kWhite);
    EXPECT_EQ(colour_in_memory(0, 22), (Bytes{0, 0xFF, 0}));
}

TEST_F(PerKeyTest, LightingResetWritesTheFactoryRecordThenTheFpsPreset) {
    panel_->click_direction(false);
    panel_->choose_effect_colour(kGreenValue);
    jobs_.settle();
    clear_traffic();

    panel_->reset_lighting();
    jobs_.settle();
    const std::vector<Sent> got = sent();
    const auto white_row = bracketed(row_pieces(0, [](int) { return kWhite; }));
    const auto selection = bracketed({setting(0, 0, {1}), setting(0, 4, {0})});
    const auto record = bracketed({setting(0, 0, kReset)});
    ASSERT_GE(got.size(), selection.size() + white_row.size() + record.size() + 2 * 10);
    EXPECT_EQ(std::vector<Sent>(got.begin(), got.begin() + 4), selection);
    EXPECT_EQ(std::vector<Sent>(got.begin() + 4, got.begin() + 13), white_row);
    EXPECT_EQ(std::vector<Sent>(got.begin() + 13, got.begin() + 16), record);
    EXPECT_EQ(got.size(), 16u + 2 * 10) << "then the preset's two writes";

    Bytes expected_record = kReset;
    expected_record[9] = expected_record[10] = expected_record[11] = 0; // the preset's black base
    expected_record.resize(42, 0);
    EXPECT_EQ(record_in_memory(0), expected_record);
    EXPECT_EQ(colour_in_memory(0, 22), (Bytes{0xFF, 0xFF, 0}));
    EXPECT_EQ(colour_in_memory(0, 44), (Bytes{0xFF, 0, 0}));
    EXPECT_FALSE(panel_->frame(kKeyA)) << "the frames are cleared at the end";
    EXPECT_EQ(panel_->record().effect(), 1);
    EXPECT_TRUE(panel_->record().random_colour());
}

TEST_F(LightingLogicTest, WithoutThePerKeyEffectOnlyTheResetsPresetWritesRows) {
    start();
    poke_memory("parameters.bin", 12 + 18, {0}); // the 19th effect, 20, is gone
    commands_for_jobs_ = commands_.get();
    panel_->read_lighting(true, true);
    jobs_.settle();
    for (const Sent& request : sent()) {
        EXPECT_NE(request.command, 16) << "no colour rows are read";
    }
    EXPECT_EQ(panel_->effect_list().size(), 18u);
    clear_traffic();
    panel_->reset_lighting();
    jobs_.settle();
    const std::vector<Sent> got = sent();
    // Selection, record, then the preset's two writes of offset 9 and the row.
    ASSERT_EQ(got.size(), 4u + 3 + 2 * 10);
    EXPECT_EQ(std::vector<Sent>(got.begin() + 4, got.begin() + 7),
              bracketed({setting(0, 0, kReset)}));
    EXPECT_EQ(got[7 + 1], setting(0, 9, kBlack));
}

TEST_F(LightingLogicTest, LightSwitchIsKeptInTheSettingsFileAndFramesTheKeys) {
    arrive();
    panel_->click_random(); // random off: the effect colour shows
    panel_->click_light_switch();
    EXPECT_TRUE(storage_->lighting_switch());
    EXPECT_EQ(panel_->frame(kKeyA), kRedValue);
    EXPECT_TRUE(panel_->shown_controls().speed);
    EXPECT_EQ(panel_->shown_controls().colour, ColourGroup::A);
    panel_->select_effect(list_position(*panel_, 11));
    EXPECT_FALSE(panel_->frame(kKeyA)) << "selecting 11 clears the frames";
    panel_->click_light_switch();
    EXPECT_FALSE(storage_->lighting_switch());
    panel_->click_light_switch();
    EXPECT_EQ(panel_->frame(kKeyA), kRedValue) << "turning on frames 11 with its colour";
    panel_->select_effect(list_position(*panel_, 20));
    EXPECT_EQ(panel_->frame(kG1), 0xFFFFFFu) << "each key its own colour";
    panel_->turn_switch_off();
    EXPECT_FALSE(panel_->frame(kG1));
    EXPECT_FALSE(panel_->shown_controls().brightness);
    jobs_.settle();
    panel_->read_lighting(false);
    jobs_.settle();
    EXPECT_FALSE(panel_->light_switch());
}

TEST_F(LightingLogicTest, RefusedWriteShowsWhatTheKeyboardHolds) {
    arrive();
    control("fault status-ff 3 1"); // the BeginTransfer passes, the write is refused
    panel_->move_brightness(1);
    EXPECT_EQ(panel_->record().brightness(), 1) << "shown at once";
    jobs_.settle();
    EXPECT_TRUE(panel_->write_failed());
    EXPECT_EQ(panel_->record().brightness(), 4) << "what the keyboard really holds";
    EXPECT_EQ(panel_->brightness_image(), "4.bmp");
    EXPECT_EQ(record_in_memory(0)[1], 4);
    const auto got = sent();
    ASSERT_GE(got.size(), 7u);
    EXPECT_EQ(got[3], setting(0, 1, {1})) << "three attempts";
    EXPECT_EQ(got[4], (Sent{2, 0, {0}})) << "the transfer is still ended";
    EXPECT_EQ(got[5], (Sent{3, 0, {44}})) << "the re-read follows the failed write";

    panel_->move_brightness(2);
    jobs_.settle();
    EXPECT_FALSE(panel_->write_failed()) << "the next change reached the keyboard";
    EXPECT_EQ(record_in_memory(0)[1], 2);
}

TEST_F(LightingLogicTest, ReReadWaitsForTheChangesMadeMeanwhile) {
    arrive();
    control("fault status-ff 3 1");
    panel_->move_brightness(1); // refused
    panel_->move_speed(2);      // queued behind it, reaches the keyboard
    jobs_.settle();
    EXPECT_TRUE(panel_->write_failed());
    EXPECT_EQ(panel_->record().brightness(), 4);
    EXPECT_EQ(panel_->record().speed(), 2) << "the later change is kept";
}

TEST_F(LightingLogicTest, ReadOverlappingAChangeIsRepeatedBehindIt) {
    arrive();
    panel_->read_lighting(false);
    panel_->move_brightness(0);
    ASSERT_EQ(jobs_.waiting_jobs(), 2u);
    jobs_.settle();
    EXPECT_EQ(panel_->record().brightness(), 0);
    EXPECT_EQ(record_in_memory(0)[1], 0);
}

} // namespace
} // namespace tarvenor::testing
