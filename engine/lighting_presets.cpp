#include "engine/lighting_presets.h"

#include <array>

namespace tarvenor {
namespace {

constexpr ColourValue rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return r | (ColourValue{g} << 8) | (ColourValue{b} << 16);
}

constexpr ColourValue kRed = rgb(255, 0, 0);
constexpr ColourValue kGreen = rgb(0, 255, 0);
constexpr ColourValue kBlue = rgb(0, 0, 255);
constexpr ColourValue kYellow = rgb(255, 255, 0);
constexpr ColourValue kMagenta = rgb(255, 0, 255);

constexpr PresetKey kFps[] = {{1030, kYellow}, {1031, kYellow}, {1032, kYellow}, {1033, kYellow},
                              {1034, kYellow}, {1045, kRed},    {1047, kGreen},  {1058, kRed},
                              {1059, kRed},    {1060, kRed}};
constexpr PresetKey kMmo[] = {
    {1030, kGreen}, {1031, kGreen}, {1032, kGreen}, {1033, kGreen}, {1034, kGreen},  {1035, kGreen},
    {1036, kGreen}, {1037, kGreen}, {1038, kGreen}, {1039, kGreen}, {1040, kGreen},  {1041, kGreen},
    {1045, kRed},   {1058, kRed},   {1059, kRed},   {1060, kRed},   {1070, kMagenta}};
constexpr PresetKey kMoba[] = {{1030, kYellow}, {1031, kYellow}, {1032, kYellow}, {1033, kYellow},
                               {1034, kYellow}, {1035, kYellow}, {1044, kRed},    {1045, kRed},
                               {1046, kRed},    {1047, kRed},    {1058, kBlue},   {1059, kGreen},
                               {1075, kGreen}};
constexpr PresetKey kRts[] = {{1030, kRed},  {1031, kRed},   {1032, kRed},   {1033, kRed},
                              {1034, kRed},  {1058, kGreen}, {1059, kGreen}, {1070, kMagenta},
                              {1082, kBlue}, {1083, kBlue},  {1085, kBlue}};

constexpr std::array<std::string_view, kPresetCount> kNames{"FPS", "MMO", "MOBA", "RTS"};

} // namespace

std::string_view preset_name(int preset) {
    return preset >= 0 && preset < kPresetCount ? kNames[static_cast<std::size_t>(preset)] : "";
}

std::span<const PresetKey> preset_keys(int preset) {
    switch (preset) {
    case 0:
        return kFps;
    case 1:
        return kMmo;
    case 2:
        return kMoba;
    case 3:
        return kRts;
    default:
        return {};
    }
}

} // namespace tarvenor
