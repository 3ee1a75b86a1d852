#include "ui/logic/lighting_effects.h"

#include <algorithm>

namespace tarvenor {
namespace {

bool one_of(int effect, std::initializer_list<int> effects) {
    return std::ranges::find(effects, effect) != effects.end();
}


} // namespace

EffectControls effect_controls(int effect) {
    if (!known_effect(effect)) {
        return {};
    }
    EffectControls shown;
    shown.effect_list = true;
    shown.brightness = true;
    shown.speed = !one_of(effect, {6, 16, 17, 18, kPerKeyEffect});
    shown.direction = one_of(effect, {1, 2, 3, 12, 18});
    if (uses_effect_colour(effect)) {
        shown.colour = ColourGroup::A;
    } else if (one_of(effect, {6, 16})) {
        shown.colour = ColourGroup::B;
    }
    shown.colour_choice = effect == 17;
    shown.per_key = effect == kPerKeyEffect;
    return shown;
}

FrameRule frames_on_selection(int effect) {
    if (!known_effect(effect)) {
        return FrameRule::Unchanged;
    }
    if (effect == kPerKeyEffect) {
        return FrameRule::OwnColour;
    }
    return effect_controls(effect).colour == ColourGroup::None ? FrameRule::None
                                                               : FrameRule::EffectColour;
}

FrameRule frames_on_switch(int effect) {
    return effect == 11 ? FrameRule::EffectColour : frames_on_selection(effect);
}

DirectionPictures direction_pictures(int effect, std::uint8_t direction) {
    const bool left = direction == 255;
    switch (effect) {
    case 18:
        return left ? DirectionPictures{"kuosandown.bmp", "julong.bmp"}
                    : DirectionPictures{"kuosan.bmp", "julongdown.bmp"};
    case 12:
        return left ? DirectionPictures{"updown.bmp", "downup.bmp"}
                    : DirectionPictures{"upup.bmp", "downdown.bmp"};
    default:
        return left ? DirectionPictures{"leftdown.bmp", "rightup.bmp"}
                    : DirectionPictures{"leftup.bmp", "rightdown.bmp"};
    }
}

std::string direction_layout(int effect) {
    if (one_of(effect, {1, 2, 3})) {
        return "2";
    }
    return effect == 12 ? "3" : "";
}

int slider_position(int value) {
    return std::clamp(value, 0, 4);
}

int speed_slider_position(int speed) {
    return slider_position(4 - speed);
}

std::optional<std::string> brightness_image(int brightness) {
    if (brightness < 0 || brightness > 25) {
        return std::nullopt;
    }
    return std::to_string(brightness) + ".bmp";
}

std::optional<std::string> speed_image(int speed) {
    if (speed >= 0 && speed <= 4) {
        return std::to_string(9 - speed) + ".bmp";
    }
    if (speed == 5) {
        return "6.bmp"; // fits neither rule; the nearest of the slow images
    }
    if (speed <= 25) {
        return std::to_string(25 - speed) + ".bmp";
    }
    return std::nullopt;
}

} // namespace tarvenor
