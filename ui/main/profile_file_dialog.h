#pragma once

#include "model/text_table.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace tarvenor {

// What the import and export dialogs show: a title and filters that say what a ".tvp" file is.
struct ProfileFileDialogSetup {
    QString title;
    QStringList filters;
};

ProfileFileDialogSetup profile_file_dialog_setup(const LanguageFile& language, bool save);

// A menu item's text as the title of the window it opens: without its access key and trailing dots.
QString menu_item_title(const LanguageFile& language, const char* key);

// The file name export offers, in the language shown.
QString default_profile_file_name(const LanguageFile& language);

// Runs the dialog in the folder of `initial`, offering its file name unless that is a pattern
// ("*.tvp"). The chosen path, or empty when cancelled.
QString ask_profile_file(QWidget* parent, bool save, const ProfileFileDialogSetup& setup,
                         const QString& initial);

} // namespace tarvenor
