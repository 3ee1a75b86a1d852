#pragma once

#include <QColor>
#include <QFont>

#include <array>

namespace tarvenor::skin {

// The four state pictures every dialog is drawn in. What "marked" stands for is each control's
// own: the assigned look of a key, the selected look of a toggle, the disabled look of Apply.
enum class Look { Normal = 0, Over, Down, Marked };
inline constexpr std::array<Look, 4> kLooks{Look::Normal, Look::Over, Look::Down, Look::Marked};

// One dark theme for every dialog.
namespace colour {
inline const QColor kWindow(0x15, 0x17, 0x1c);
inline const QColor kTitleBar(0x0e, 0x10, 0x14);
inline const QColor kPanel(0x1c, 0x1f, 0x26);
inline const QColor kPanelEdge(0x2c, 0x31, 0x3b);
inline const QColor kField(0x11, 0x13, 0x17);
inline const QColor kCap(0x2a, 0x2e, 0x37);
inline const QColor kCapTop(0x33, 0x38, 0x43);
inline const QColor kCapOver(0x3a, 0x42, 0x50);
inline const QColor kCapDown(0x17, 0x19, 0x1f);
inline const QColor kCapEdge(0x0b, 0x0c, 0x0f);
inline const QColor kGCap(0x25, 0x2b, 0x38);
inline const QColor kText(0xe4, 0xe7, 0xec);
inline const QColor kTextDim(0x8a, 0x91, 0x9c);
inline const QColor kTextOff(0x55, 0x5b, 0x66);
inline const QColor kAccent(0x2c, 0xc7, 0xff);
inline const QColor kAccentDeep(0x0c, 0x5d, 0x7c);
inline const QColor kAssigned(0xff, 0xae, 0x2b);
inline const QColor kLedOn(0x4c, 0xe0, 0x7a);
inline const QColor kWhite(0xff, 0xff, 0xff);
} // namespace colour

// The sans-serif family every label of the artwork uses, at a pixel size.
QFont skin_font(int pixels, bool bold = false);

} // namespace tarvenor::skin
