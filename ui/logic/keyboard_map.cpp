#include "ui/logic/keyboard_map.h"

#include "ui/logic/skin_keys.h"

#include <algorithm>
#include <utility>

namespace tarvenor {
namespace {

// Control id -> LightPosition of the 106 key buttons: a grid of 6 rows of 21 places.
constexpr std::pair<int, int> kKeyLightPositions[] = {
    {1010, 1},   {1011, 2},   {1012, 3},   {1013, 4},   {1014, 5},   {1015, 6},   {1022, 0},
    {1023, 7},   {1024, 8},   {1025, 9},   {1026, 10},  {1027, 11},  {1028, 12},  {1029, 21},
    {1030, 22},  {1031, 23},  {1032, 24},  {1033, 25},  {1034, 26},  {1035, 27},  {1036, 28},
    {1037, 29},  {1038, 30},  {1039, 31},  {1040, 32},  {1041, 33},  {1042, 55},  {1043, 34},
    {1044, 43},  {1045, 44},  {1046, 45},  {1047, 46},  {1048, 47},  {1049, 48},  {1050, 49},
    {1051, 50},  {1052, 51},  {1053, 52},  {1054, 53},  {1055, 54},  {1056, 42},  {1058, 64},
    {1059, 65},  {1060, 66},  {1061, 67},  {1062, 68},  {1063, 69},  {1064, 70},  {1065, 71},
    {1066, 72},  {1067, 73},  {1068, 74},  {1069, 63},  {1070, 76},  {1071, 86},  {1072, 87},
    {1073, 88},  {1074, 89},  {1075, 90},  {1076, 91},  {1077, 92},  {1078, 93},  {1079, 94},
    {1080, 95},  {1081, 97},  {1082, 84},  {1083, 105}, {1084, 106}, {1085, 107}, {1086, 109},
    {1087, 112}, {1088, 111}, {1089, 113}, {1090, 108}, {1091, 14},  {1092, 15},  {1093, 16},
    {1094, 35},  {1095, 36},  {1096, 37},  {1097, 56},  {1098, 57},  {1099, 58},  {1100, 119},
    {1101, 120}, {1102, 121}, {1103, 99},  {1104, 38},  {1105, 39},  {1106, 40},  {1107, 41},
    {1108, 59},  {1109, 60},  {1110, 61},  {1111, 62},  {1112, 80},  {1113, 81},  {1114, 82},
    {1115, 101}, {1116, 102}, {1117, 103}, {1118, 104}, {1119, 124}, {1120, 123}, {1199, 96},
    {1200, 85},
};
static_assert(std::size(kKeyLightPositions) == kKeyboardKeyCount);

} // namespace

std::string key_skin_key(KeyCode code) {
    return skin_keys::main_window::keyboard_key(key_index_of(code));
}

std::string g_skin_key(int j) {
    return skin_keys::main_window::g_key(j);
}

std::optional<KeyCode> keyboard_key_of(int control_id) {
    const auto& keys = keyboard_key_list();
    const auto found = std::ranges::find(keys, control_id, &KeyboardKey::control_id);
    if (found == keys.end()) {
        return std::nullopt;
    }
    return found->code;
}

std::optional<int> g_button_of(int control_id) {
    const auto& ids = GButtonControlIds();
    const auto found = std::ranges::find(ids, control_id);
    if (found == ids.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - ids.begin());
}

std::optional<int> light_position_of(int control_id) {
    if (g_button_of(control_id)) {
        return kGKeyLightPosition;
    }
    if (control_id == id_of(MainControl::Fn)) {
        return kFnLightPosition;
    }
    const auto found =
        std::ranges::find(kKeyLightPositions, control_id, &std::pair<int, int>::first);
    if (found == std::end(kKeyLightPositions)) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace tarvenor
