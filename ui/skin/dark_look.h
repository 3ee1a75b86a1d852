#pragma once

#include <QIcon>
#include <QPalette>
#include <QString>

namespace tarvenor {

// The skin's dark colours for the standard widgets: combo boxes and fields on the skinned
// windows, and the program's message boxes, colour and file dialogs.
QPalette dark_palette();

// Gives every window of the program its dark look, once for the whole application (after the
// QApplication exists): the Fusion style in the dark palette, `icon` on every window without one
// of its own (message boxes and standard dialogs included), and `name` as the title of every
// window that has none.
void apply_dark_look(const QIcon& icon, const QString& name);

} // namespace tarvenor
