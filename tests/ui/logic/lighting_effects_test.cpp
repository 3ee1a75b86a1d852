#include "engine/lighting_presets.h"
#include "ui/logic/lighting_effects.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(LightingEffects, ControlsAndFramesOfEachEffect) {
    struct Row {
        int effect;
        bool speed, direction;
        ColourGroup colour;
        bool choice, per_key;
        FrameRule frames;
    };
    const Row rows[] = {
        {1, true, true, ColourGroup::A, false, false, FrameRule::EffectColour},
        {4, true, false, ColourGroup::None, false, false, FrameRule::None},
        {6, false, false, ColourGroup::B, false, false, FrameRule::EffectColour},
        {11, true, false, ColourGroup::None, false, false, FrameRule::None},
        {12, true, true, ColourGroup::None, false, false, FrameRule::None},
        {15, true, false, ColourGroup::A, false, false, FrameRule::EffectColour},
        {16, false, false, ColourGroup::B, false, false, FrameRule::EffectColour},
        {17, false, false, ColourGroup::None, true, false, FrameRule::None},
        {18, false, true, ColourGroup::None, false, false, FrameRule::None},
        {20, false, false, ColourGroup::None, false, true, FrameRule::OwnColour},
    };
    for (const Row& row : rows) {
        const EffectControls shown = effect_controls(row.effect);
        EXPECT_TRUE(shown.effect_list && shown.brightness) << row.effect;
        EXPECT_EQ(shown.speed, row.speed) << row.effect;
        EXPECT_EQ(shown.direction, row.direction) << row.effect;
        EXPECT_EQ(shown.colour, row.colour) << row.effect;
        EXPECT_EQ(shown.colour_choice, row.choice) << row.effect;
        EXPECT_EQ(shown.per_key, row.per_key) << row.effect;
        EXPECT_EQ(frames_on_selection(row.effect), row.frames) << row.effect;
    }
    EXPECT_EQ(frames_on_switch(11), FrameRule::EffectColour);
    for (int unknown : {0, 19, 21, 255}) {
        EXPECT_FALSE(effect_controls(unknown).effect_list) << unknown;
        EXPECT_EQ(frames_on_selection(unknown), FrameRule::Unchanged) << unknown;
    }
    EXPECT_TRUE(uses_effect_colour(13));
    EXPECT_FALSE(uses_effect_colour(6));
}

TEST(LightingEffects, DirectionPicturesAndLayouts) {
    EXPECT_EQ(direction_pictures(18, 255).left, "kuosandown.bmp");
    EXPECT_EQ(direction_pictures(18, 0).right, "julongdown.bmp");
    EXPECT_EQ(direction_pictures(12, 255).right, "downup.bmp");
    EXPECT_EQ(direction_pictures(12, 0).left, "upup.bmp");
    EXPECT_EQ(direction_pictures(2, 255).left, "leftdown.bmp");
    EXPECT_EQ(direction_pictures(2, 7).right, "rightdown.bmp");
    EXPECT_EQ(direction_layout(3), "2");
    EXPECT_EQ(direction_layout(12), "3");
    EXPECT_EQ(direction_layout(18), "");
}

TEST(LightingEffects, SliderImagesAtTheEdgesOfTheirRules) {
    EXPECT_EQ(brightness_image(0), "0.bmp");
    EXPECT_EQ(brightness_image(25), "25.bmp");
    EXPECT_FALSE(brightness_image(26));
    EXPECT_EQ(speed_image(0), "9.bmp");
    EXPECT_EQ(speed_image(4), "5.bmp");
    EXPECT_EQ(speed_image(5), "6.bmp");
    EXPECT_EQ(speed_image(6), "19.bmp");
    EXPECT_EQ(speed_image(25), "0.bmp");
    EXPECT_FALSE(speed_image(26));
    EXPECT_EQ(speed_slider_position(0), 4);
    EXPECT_EQ(speed_slider_position(9), 0);
    EXPECT_EQ(slider_position(200), 4);
}

TEST(LightingPresets, NamesAndKeys) {
    EXPECT_EQ(preset_name(2), "MOBA");
    EXPECT_EQ(preset_keys(0).size(), 10u);
    EXPECT_EQ(preset_keys(1).size(), 17u);
    EXPECT_EQ(preset_keys(2).size(), 13u);
    EXPECT_EQ(preset_keys(3).size(), 11u);
    EXPECT_TRUE(preset_keys(4).empty());
    EXPECT_EQ(preset_keys(3).back().control_id, 1085);
    EXPECT_EQ(preset_keys(3).back().colour, 0xFF0000u);
}

} // namespace
} // namespace tarvenor
