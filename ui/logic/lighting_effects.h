#pragma once

#include "model/lighting.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tarvenor {

enum class ColourGroup { None, A, B };
// What the key buttons' frames show while an effect runs.
enum class FrameRule { Unchanged, None, EffectColour, OwnColour };

// Which of the panel's controls an effect shows. An effect the panel does not know shows none,
// the effect list included.
struct EffectControls {
    bool effect_list = false;
    bool brightness = false;
    bool speed = false;
    bool direction = false;
    ColourGroup colour = ColourGroup::None;
    bool colour_choice = false;
    bool per_key = false;
};

EffectControls effect_controls(int effect);
// The frames an effect selected in the list gets (effect 11 included: no frames).
FrameRule frames_on_selection(int effect);
// The frames the light switch gives when it is turned on (here effect 11 shows its colour).
FrameRule frames_on_switch(int effect);

// The direction group's two pictures for an effect and a direction (255: left, else right).
struct DirectionPictures {
    std::string left;
    std::string right;
};
DirectionPictures direction_pictures(int effect, std::uint8_t direction);
// The suffix of the skin keys the direction group is placed from: "2", "3" or "".
std::string direction_layout(int effect);

// Slider positions are 0..4 whatever the keyboard holds.
int slider_position(int value);
int speed_slider_position(int speed);
// The slider images for a value; nothing when the image stays as it was.
std::optional<std::string> brightness_image(int brightness);
std::optional<std::string> speed_image(int speed);

} // namespace tarvenor
