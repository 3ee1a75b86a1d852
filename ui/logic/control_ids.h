#pragma once

#include <type_traits>

namespace tarvenor {

// The numbers are fixed: skin files, window tests and scripts address controls by them.

// The main window's controls that its code tells apart. The 106 key buttons and G1..G9 are
// numbered by the key tables (keyboard_map, key_codes), not named here.
enum class MainControl : int {
    Ok = 1,
    Cancel = 2,
    Profiles = 1005,
    Apply = 1006,
    MacroEdit = 1007,
    F1 = 1010,
    F2 = 1011,
    F3 = 1012,
    F4 = 1013,
    F5 = 1014,
    // D1..D6 lie over the F1..F4 row and show under Flip.
    D1 = 1016,
    D2 = 1017,
    D3 = 1018,
    D4 = 1019,
    D5 = 1020,
    D6 = 1021,
    BracketKey = 1055,
    EnterKey = 1070,
    SkinLink = 1121,
    Help = 1122,
    Minimise = 1123,
    Close = 1124,
    CapsLock = 1125,
    NumLock = 1126,
    ScrollLock = 1127,
    BankIndicator = 1128,
    FlipIndicator = 1129,
    FlipLeft = 1130,
    FlipRight = 1131,
    LeftArrow = 1132,
    RightArrow = 1133,
    Version = 1134,
    Profile1 = 1135,
    Profile2 = 1136,
    Profile3 = 1137,
    Default = 1138,
    Menu = 1139,
    LastGKey = 1143, // G9: the macro-only key
    Switch = 1144,
    ReportRate1 = 1147,
    ReportRate2 = 1168,
    ReportRate3 = 1169,
    ReportRate4 = 1170,
    Fn = 1174,
    BusyBar = 1177,
    VendorLink = 1201,
};

// The items of the main window's file menu.
enum class MenuCommand : int {
    About = 32773,
    Import = 32776,
    Export = 32777,
    // Our own: the rules by which the profile follows the application in front.
    ProfileRules = 32790,
};

// The assignment dialog's controls.
enum class AssignmentControl : int {
    Ok = 1,
    Cancel = 2,
    Apply = 1015,
    AddMacro = 1017,
    DeleteMacro = 1018,
    ActionList = 1019,
    Record = 1020,
    DeleteAction = 1021,
    ClearActions = 1022,
    MoveTop = 1023,
    MoveUp = 1024,
    MoveDown = 1025,
    MoveBottom = 1026,
    RecordDelay = 1027,
    PageKey = 1028,
    PageMacro = 1029,
    PageMedia = 1030,
    PageFunction = 1031,
    Clear = 1032,
    Mask = 1033,
    Cycles = 1125,
    MacroList = 1126,
    KeyField = 1127,
    MediaList = 1128,
    FunctionList = 1129,
    CyclesLabel = 1130,
    Title = 1131,
    Osk = 1132,
    RecordDelayLabel = 1133,
    Prompt = 1199,
    MacroPrompt = 1200,
    KeyPrompt = 1201,
    MediaPrompt = 1202,
    FunctionPrompt = 1203,
};

// The profile manager's controls.
enum class ProfileManagerControl : int {
    Ok = 1,
    Cancel = 2,
    List = 1007,
    Load = 1008,
    Add = 1010,
    Delete = 1011,
    Apply = 1012,
};

template <typename Control>
concept ControlId = std::is_same_v<Control, MainControl> || std::is_same_v<Control, MenuCommand> ||
    std::is_same_v<Control, AssignmentControl> || std::is_same_v<Control, ProfileManagerControl>;

// The number a widget, a button map or a key table carries for the control.
template <ControlId Control> constexpr int id_of(Control control) {
    return static_cast<int>(control);
}

// The named control behind a number; any number converts, so compare, do not assume.
template <ControlId Control> constexpr Control control_of_id(int id) {
    return static_cast<Control>(id);
}

} // namespace tarvenor
