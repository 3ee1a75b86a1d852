#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

// The names of the skin files' sections and keys, for the windows that read them and for the
// tool that writes them. A skin written by another tool uses the same names, so none of these
// strings may change.
namespace tarvenor::skin_keys {

// Sections.
inline constexpr const char* kScreen = "SCREEN";
inline constexpr const char* kControls = "BUTTONINFO";
// The faces of the two arrow indicators, cut from the arrow picture.
inline constexpr const char* kArrowFaces = "BUTTONINFO2";
// The controls' captions and the effects' names: Chinese, then English.
inline constexpr std::array<const char*, 2> kControlNames{"Control_Name", "Control_Name1"};
inline constexpr std::array<const char*, 2> kEffectNames{"Mode", "Mode1"};

// The section of captions (or of effect names) for the language shown. It follows the language
// of the texts (English only for language index 1), so that an index such as 2 or -1 shows
// Chinese captions and effect names beside Chinese texts rather than empty ones.
constexpr const char* names_section(bool english, bool effects) {
    const auto& sections = effects ? kEffectNames : kControlNames;
    return sections[english ? 1 : 0];
}

// The scales the pictures are drawn at. A picture drawn at a scale above 1 lies beside the 1x
// one, named as Qt names high-DPI pictures ("main_back@2x.jpg"); its skin rectangles stay those
// of the 1x picture.
inline constexpr std::array<int, 2> kPictureScales{1, 2};

inline std::filesystem::path scaled_picture_file(const std::filesystem::path& file, int scale) {
    if (scale == 1) {
        return file;
    }
    std::filesystem::path scaled = file;
    scaled.replace_filename(file.stem().string() + "@" + std::to_string(scale) + "x" +
                            file.extension().string());
    return scaled;
}

// Keys of the SCREEN section.
inline constexpr const char* kBackground = "Main";
inline constexpr const char* kOutline = "Mask";
inline constexpr const char* kLink = "Link";
// The main window's background while Flip is on (D1..D6 drawn in the F1..F4 row); without it the
// window keeps its one background.
inline constexpr const char* kFlipBackground = "FlipMain";

// A text the program writes over a dialog's pictures: its place in the skin file and its key in
// the language file. The pictures leave the place bare, so that each language fits its own words.
struct LanguageLabel {
    const char* key;
    const char* text;
    int pixels;
    bool centred;
    // Secondary texts (panel titles, unlit lamps) are drawn dimmer than the controls' own.
    bool dim;
};

// Buttons of more than one dialog.
inline constexpr const char* kOk = "CONTROL_OK";
inline constexpr const char* kCancel = "CONTROL_CANCEL";
// Apply of the main window and the profile manager.
inline constexpr const char* kApply = "CONTROL2_APPLY";

// The main window.
namespace main_window {
inline constexpr const char* kSkinLink = "KESTRO_LINK";
inline constexpr const char* kVersion = "KESTRO_VER";
inline constexpr const char* kProfiles = "FUNC_PROFILES";
inline constexpr const char* kMacroEdit = "FUNC_MACRO";
inline constexpr const char* kSwitch = "FUNC_SWITCH";
inline constexpr const char* kDefault = "FUNC_DEFAULT";
inline constexpr const char* kMenu = "CONTROL_MENU";
inline constexpr const char* kHelp = "CONTROL_HELP";
inline constexpr const char* kVendorLink = "CONTROL_LINK";
inline constexpr const char* kMinimise = "CONTROL_MINIMIZE";
inline constexpr const char* kClose = "CONTROL_CLOSE";
inline constexpr const char* kFn = "KEY_FN";
inline constexpr const char* kBankIndicator = "LOCK_AB";
inline constexpr const char* kCapsLock = "LOCK_CAPS";
inline constexpr const char* kNumLock = "LOCK_NUM";
inline constexpr const char* kScrollLock = "LOCK_SCROLL";
inline constexpr const char* kFlipIndicator = "FLIP_0";
inline constexpr const char* kFlipLeft = "FLIP_1";
inline constexpr const char* kFlipRight = "FLIP_2";
inline constexpr const char* kLeftArrow = "LEFT_ARROW";
inline constexpr const char* kRightArrow = "RIGHT_ARROW";
inline constexpr const char* kBusyBar = "CONTROL_JDTStatic";
inline constexpr const char* kReportRateLabel = "CONTROL_UsbStatic";
inline constexpr std::array<const char*, 3> kProfileButtons{"FUNC_PROFILE1", "FUNC_PROFILE2",
                                                            "FUNC_PROFILE3"};
inline constexpr std::array<const char*, 4> kReportRateButtons{"FUNC_REPORT1", "FUNC_REPORT2",
                                                               "FUNC_REPORT3", "FUNC_REPORT4"};

inline constexpr std::array<LanguageLabel, 9> kLanguageLabels{{
    {"LABEL_LIGHTING", "MAIN_LABEL_LIGHTING", 10, false, true},
    {"LABEL_DEVICE", "MAIN_LABEL_DEVICE", 10, false, true},
    {"LABEL_BANK_A", "MAIN_LABEL_BANK_A", 8, true, false},
    {"LABEL_BANK_B", "MAIN_LABEL_BANK_B", 8, true, false},
    {"LABEL_CAPS", "MAIN_LABEL_CAPS", 9, true, true},
    {"LABEL_NUM", "MAIN_LABEL_NUM", 9, true, true},
    {"LABEL_SCROLL", "MAIN_LABEL_SCROLL", 9, true, true},
    {"LABEL_FLIP", "MAIN_LABEL_FLIP", 11, true, false},
    {"LABEL_PROFILES", "MAIN_LABEL_PROFILE_MANAGER", 9, false, true},
}};

// Faces of the arrow indicators (section kArrowFaces): up while Flip is on, down while off.
inline constexpr const char* kLeftArrowUp = "UP_ARROW_LEFT1";
inline constexpr const char* kLeftArrowDown = "DOWN_ARROW_LEFT1";
inline constexpr const char* kRightArrowUp = "UP_ARROW_RIGHT1";
inline constexpr const char* kRightArrowDown = "DOWN_ARROW_RIGHT1";

namespace detail {
inline std::string numbered(const char* format, int number) {
    char name[32];
    std::snprintf(name, sizeof name, format, number);
    return name;
}
} // namespace detail

// One of the 106 key buttons, by its KeyIndex: "KEY_%03X" (A is KEY_01E).
inline std::string keyboard_key(int key_index) {
    return detail::numbered("KEY_%03X", key_index);
}
// G1..G9 for j = 0..8.
inline std::string g_key(int j) {
    return detail::numbered("FUNC_G%d", j + 1);
}
// D1..D6 for k = 0..5.
inline std::string d_key(int k) {
    return detail::numbered("KEY_D%d", k + 1);
}
} // namespace main_window

// The lighting panel of the main window.
namespace lighting {
inline constexpr const char* kSwitchLabel = "CONTROL_DengStatic";
inline constexpr const char* kSwitch = "CONTROL_DengStaPic";
inline constexpr const char* kEffectList = "CONTROL_XGcombox";
inline constexpr const char* kBrightnessLabel = "CONTROL_LightStatic";
inline constexpr const char* kBrightness = "CONTROL_LightSlider";
inline constexpr const char* kSpeedLabel = "CONTROL_SpeedStatic";
inline constexpr const char* kSpeed = "CONTROL_SpeedSlider";
// The direction group; its second and third layouts add "2" or "3" to each key.
inline constexpr const char* kDirectionLabel = "CONTROL_BLFXStatic";
inline constexpr const char* kDirectionLeft = "CONTROL_BLFXLStaPic";
inline constexpr const char* kDirectionRight = "CONTROL_BLFXRStaPic";
// The two colour groups, each a colour button with a random-colour switch.
inline constexpr const char* kColourALabel = "CONTROL_HXysStatic";
inline constexpr const char* kColourA = "CONTROL_HXysButton";
inline constexpr const char* kRandomALabel = "CONTROL_HXsjsStatic";
inline constexpr const char* kRandomA = "CONTROL_HXsjsStaPic";
inline constexpr const char* kColourBLabel = "CONTROL_FYYSStatic";
inline constexpr const char* kColourB = "CONTROL_FYYSButton";
inline constexpr const char* kRandomBLabel = "CONTROL_FYSJSStatic";
inline constexpr const char* kRandomB = "CONTROL_FYSJSStaPic";
// The four colour choices: red, yellow, green, blue.
inline constexpr std::array<const char*, 4> kColourChoices{"CONTROL_HONGPIC", "CONTROL_HUANGPIC",
                                                           "CONTROL_LVPIC", "CONTROL_LANPIC"};
// Per-key colours.
inline constexpr const char* kUserColourLabel = "CONTROL_USERysStatic";
inline constexpr const char* kUserColour = "CONTROL_USERysButton";
inline constexpr const char* kBaseColourLabel = "CONTROL_USERjsStatic";
inline constexpr const char* kBaseColour = "CONTROL_USERjsButton";
inline constexpr const char* kToolLabel = "CONTROL_USERgjStatic";
inline constexpr std::array<const char*, 2> kTools{"CONTROL_USERgjStaPic1",
                                                   "CONTROL_USERgjStaPic2"};
inline constexpr const char* kPresetList = "CONTROL_umCombo";
// Where the panel's notice shows.
inline constexpr const char* kNotice = "CONTROL_JTysStatic";
// Places in the skin that no effect shows.
inline constexpr std::array<const char*, 7> kIdleLabels{
    "CONTROL_FYCFStatic",  "CONTROL_FYdjcfStatic", "CONTROL_FYggcfStatc", "CONTROL_TSysStatic",
    "CONTROL_TSsjsStatic", "CONTROL_CDysStatic",   "CONTROL_CDsjsStatic"};
inline constexpr std::array<const char*, 7> kIdleControls{
    "CONTROL_JTysButton",  "CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic", "CONTROL_TSysButton",
    "CONTROL_TSsjsStaPic", "CONTROL_CDysButton",   "CONTROL_CDsjsStaPic"};
} // namespace lighting

// The assignment dialog.
namespace assignment {
inline constexpr const char* kPageBadge = "CONTROL_MASK";
inline constexpr const char* kTitle = "CONTROL_TITLE";
inline constexpr const char* kOsk = "CONTROL_OSK";
inline constexpr const char* kClear = "CONTROL_CLEAR";
inline constexpr const char* kKeyPage = "CONTROL_KEY";
inline constexpr const char* kMacroPage = "CONTROL_MACRO";
inline constexpr const char* kMediaPage = "CONTROL_MEDIA";
inline constexpr const char* kFunctionPage = "CONTROL_FUNCTION";
inline constexpr const char* kApply = "CONTROL_APPLY";
inline constexpr const char* kAddMacro = "FUNC_MACRO_ADD";
inline constexpr const char* kDeleteMacro = "FUNC_MACRO_DELETE";
inline constexpr const char* kRecord = "FUNC_MACRO_RECORD";
inline constexpr const char* kMoveTop = "FUNC_MACRO_UP_TOP";
inline constexpr const char* kMoveUp = "FUNC_MACRO_UP";
inline constexpr const char* kMoveDown = "FUNC_MACRO_DOWN";
inline constexpr const char* kMoveBottom = "FUNC_MACRO_DOWN_BOTTOM";
inline constexpr const char* kDeleteAction = "FUNC_MACRO_DELETE2";
inline constexpr const char* kClearActions = "FUNC_MACRO_CLEAR";
inline constexpr const char* kPrompt = "KEY_SETTING";
inline constexpr const char* kKeyPrompt = "TISHI_SINGLE_STATIC";
inline constexpr const char* kMacroPrompt = "MARCO_NAME_SETTING";
inline constexpr const char* kMediaPrompt = "MEDIA_SETTING_TISHI";
inline constexpr const char* kFunctionPrompt = "FUNCTION_KEY_SETTING_TISHI";
inline constexpr const char* kKeyField = "FUNC_KEY_INPUT";
inline constexpr const char* kMediaList = "FUNC_MEDIA_SELECT";
inline constexpr const char* kFunctionList = "FUNC_FUNCTION_SELECT";
inline constexpr const char* kMacroList = "FUNC_MACRO_LIST";
inline constexpr const char* kActionList = "FUNC_MACRO_LIST2";
inline constexpr const char* kCycles = "FUNC_MACRO_CYCLES";
inline constexpr const char* kCyclesLabel = "FUNC_MACRO_CYCLES_PROMPT";
inline constexpr const char* kRecordDelay = "FUNC_MACRO_RECORD_DELAY";
inline constexpr const char* kRecordDelayLabel = "FUNC_MACRO_RECORD_DELAY2";
inline constexpr LanguageLabel kTitleLabel{"LABEL_TITLE", "COMPOSITE_TITLE", 14, false, false};
// The page's name on its badge; the text is the page button's caption.
inline constexpr LanguageLabel kPageLabel{"LABEL_PAGE", "", 14, true, false};
} // namespace assignment

// The profile manager.
namespace profile {
inline constexpr const char* kAdd = "FUNC_ADD";
inline constexpr const char* kLoad = "FUNC_LOAD";
inline constexpr const char* kDelete = "FUNC_DELETE";
inline constexpr const char* kList = "PROGRAM_LIST";
inline constexpr LanguageLabel kTitleLabel{"LABEL_TITLE", "PROFILE_MANAGER_TITLE", 14, false,
                                           false};
} // namespace profile

// The rules by which the profile follows the application in front.
namespace rules {
inline constexpr const char* kEnabled = "FOLLOW_ENABLED";
inline constexpr const char* kList = "RULE_LIST";
inline constexpr const char* kAdd = "FUNC_ADD";
inline constexpr const char* kRemove = "FUNC_DELETE";
inline constexpr const char* kDefault = "DEFAULT_PROFILE";
inline constexpr LanguageLabel kTitleLabel{"LABEL_TITLE", "FOLLOW_TITLE", 14, false, false};
inline constexpr LanguageLabel kOtherLabel{"LABEL_OTHER", "FOLLOW_OTHER", 12, false, false};
inline constexpr LanguageLabel kStatusLabel{"LABEL_STATUS", "FOLLOW_SOURCE", 11, false, true};
} // namespace rules

// The rules page's Add: an application and its profile.
namespace rule_add {
inline constexpr const char* kApplication = "APPLICATION";
inline constexpr const char* kProfile = "PROFILE";
inline constexpr LanguageLabel kTitleLabel{"LABEL_TITLE", "FOLLOW_ADD_TITLE", 14, false, false};
inline constexpr LanguageLabel kPromptLabel{"LABEL_PROMPT", "FOLLOW_ADD_PROMPT", 11, false, true};
inline constexpr LanguageLabel kProfileLabel{"LABEL_PROFILE", "FOLLOW_COLUMN_PROFILE", 12, false,
                                             false};
} // namespace rule_add

} // namespace tarvenor::skin_keys
