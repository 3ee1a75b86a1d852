#pragma once

namespace tarvenor::assignment_ids {

// Control ids of the assignment dialog.
inline constexpr int kApply = 1015;
inline constexpr int kAddMacro = 1017;
inline constexpr int kDeleteMacro = 1018;
inline constexpr int kActionList = 1019;
inline constexpr int kRecord = 1020;
inline constexpr int kDeleteAction = 1021;
inline constexpr int kClearActions = 1022;
inline constexpr int kMoveTop = 1023;
inline constexpr int kMoveUp = 1024;
inline constexpr int kMoveDown = 1025;
inline constexpr int kMoveBottom = 1026;
inline constexpr int kRecordDelay = 1027;
inline constexpr int kPageKey = 1028;
inline constexpr int kPageMacro = 1029;
inline constexpr int kPageMedia = 1030;
inline constexpr int kPageFunction = 1031;
inline constexpr int kClear = 1032;
inline constexpr int kCycles = 1125;
inline constexpr int kMacroList = 1126;
inline constexpr int kKeyField = 1127;
inline constexpr int kMediaList = 1128;
inline constexpr int kFunctionList = 1129;
inline constexpr int kCyclesLabel = 1130;
inline constexpr int kOsk = 1132;
inline constexpr int kRecordDelayLabel = 1133;
inline constexpr int kPrompt = 1199;
inline constexpr int kMacroPrompt = 1200;
inline constexpr int kKeyPrompt = 1201;
inline constexpr int kMediaPrompt = 1202;
inline constexpr int kFunctionPrompt = 1203;

} // namespace tarvenor::assignment_ids
