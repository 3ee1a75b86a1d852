#include "model/native_key_tables.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tarvenor {
namespace {

// Codes of the kernel's input event numbering, named as the kernel names them. Compiled on every
// platform, so the kernel header is not included.
enum EvdevCode : int {
    KEY_ESC = 1,
    KEY_NUMLOCK = 69,
    KEY_F12 = 88,
    KEY_RO = 89,
    KEY_HENKAN = 92,
    KEY_KATAKANAHIRAGANA = 93,
    KEY_MUHENKAN = 94,
    KEY_KPENTER = 96,
    KEY_RIGHTCTRL = 97,
    KEY_KPSLASH = 98,
    KEY_SYSRQ = 99,
    KEY_RIGHTALT = 100,
    KEY_HOME = 102,
    KEY_UP = 103,
    KEY_PAGEUP = 104,
    KEY_LEFT = 105,
    KEY_RIGHT = 106,
    KEY_END = 107,
    KEY_DOWN = 108,
    KEY_PAGEDOWN = 109,
    KEY_INSERT = 110,
    KEY_DELETE = 111,
    KEY_MUTE = 113,
    KEY_VOLUMEDOWN = 114,
    KEY_VOLUMEUP = 115,
    KEY_POWER = 116,
    KEY_PAUSE = 119,
    KEY_KPCOMMA = 121,
    KEY_HANGEUL = 122,
    KEY_HANJA = 123,
    KEY_YEN = 124,
    KEY_LEFTMETA = 125,
    KEY_RIGHTMETA = 126,
    KEY_COMPOSE = 127,
    KEY_STOP = 128,
    KEY_CALC = 140,
    KEY_SLEEP = 142,
    KEY_WAKEUP = 143,
    KEY_FILE = 144,
    KEY_MAIL = 155,
    KEY_BOOKMARKS = 156,
    KEY_COMPUTER = 157,
    KEY_BACK = 158,
    KEY_FORWARD = 159,
    KEY_NEXTSONG = 163,
    KEY_PLAYPAUSE = 164,
    KEY_PREVIOUSSONG = 165,
    KEY_STOPCD = 166,
    KEY_CONFIG = 171,
    KEY_HOMEPAGE = 172,
    KEY_REFRESH = 173,
    KEY_F13 = 183,
    KEY_SEARCH = 217,
    KEY_MEDIA = 226,
    KEY_BREAK = 411,
};

// Numbers 1..88 follow the set 1 make codes of the PC keyboard; these are the keys beyond them.
constexpr std::array<std::pair<int, KeyCode>, 53> kEvdevKeys{{
    {KEY_NUMLOCK, 0x145},      {KEY_RO, 0x073},
    {KEY_HENKAN, 0x079},       {KEY_KATAKANAHIRAGANA, 0x070},
    {KEY_MUHENKAN, 0x07B},     {KEY_KPENTER, 0x11C},
    {KEY_RIGHTCTRL, 0x11D},    {KEY_KPSLASH, 0x135},
    {KEY_SYSRQ, 0x137},        {KEY_RIGHTALT, 0x138},
    {KEY_HOME, 0x147},         {KEY_UP, 0x148},
    {KEY_PAGEUP, 0x149},       {KEY_LEFT, 0x14B},
    {KEY_RIGHT, 0x14D},        {KEY_END, 0x14F},
    {KEY_DOWN, 0x150},         {KEY_PAGEDOWN, 0x151},
    {KEY_INSERT, 0x152},       {KEY_DELETE, 0x153},
    {KEY_MUTE, 0x120},         {KEY_VOLUMEDOWN, 0x12E},
    {KEY_VOLUMEUP, 0x130},     {KEY_POWER, 0x15E},
    {KEY_PAUSE, 0x045},        {KEY_KPCOMMA, 0x07E},
    {KEY_HANGEUL, 0x072},      {KEY_HANJA, 0x071},
    {KEY_YEN, 0x07D},          {KEY_LEFTMETA, 0x15B},
    {KEY_RIGHTMETA, 0x15C},    {KEY_COMPOSE, 0x15D},
    {KEY_STOP, 0x168},         {KEY_CALC, 0x121},
    {KEY_SLEEP, 0x15F},        {KEY_WAKEUP, 0x163},
    {KEY_FILE, 0x16B},         {KEY_MAIL, 0x16C},
    {KEY_BOOKMARKS, 0x166},    {KEY_COMPUTER, 0x16B},
    {KEY_BACK, 0x16A},         {KEY_FORWARD, 0x169},
    {KEY_NEXTSONG, 0x119},     {KEY_PLAYPAUSE, 0x122},
    {KEY_PREVIOUSSONG, 0x110}, {KEY_STOPCD, 0x124},
    {KEY_CONFIG, 0x16D},       {KEY_HOMEPAGE, 0x132},
    {KEY_REFRESH, 0x167},      {KEY_F13, 0x064},
    {KEY_SEARCH, 0x165},       {KEY_MEDIA, 0x16D},
    {KEY_BREAK, 0x146},
}};

constexpr KeyCode kPause = 0x045;
constexpr KeyCode kBreak = 0x146;

// Numbers in the PC run that name no key of this keyboard, or another key than their make code.
constexpr bool outside_pc_run(int code) {
    return code == 84 || code == 85 || code == KEY_NUMLOCK;
}

KeyCode key_code_of_evdev(int code) {
    if (code >= KEY_ESC && code <= KEY_F12 && !outside_pc_run(code)) {
        return static_cast<KeyCode>(code);
    }
    const auto found = std::find_if(kEvdevKeys.begin(), kEvdevKeys.end(),
                                    [code](const auto& entry) { return entry.first == code; });
    return found == kEvdevKeys.end() ? KeyCode{0} : found->second;
}

} // namespace

std::optional<NativeKey> native_key_from_evdev(int evdev_code) {
    return native_key_from_evdev(evdev_code, false);
}

std::optional<NativeKey> native_key_from_evdev(int evdev_code, bool control_down) {
    KeyCode code = key_code_of_evdev(evdev_code);
    if (code == 0) {
        return std::nullopt;
    }
    if (code == kPause && control_down) {
        code = kBreak;
    }
    return native_key_of(code);
}

} // namespace tarvenor
