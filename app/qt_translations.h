#pragma once

#include "model/text_table.h"

namespace tarvenor {

// Qt's own dialogs (message boxes, colour and file dialogs) speak the language the language file
// chooses: Chinese loads Qt's Simplified Chinese translations where the system has them. Returns
// whether a translation was installed; without one those dialogs stay English.
bool install_qt_translations(const LanguageFile& language);

} // namespace tarvenor
