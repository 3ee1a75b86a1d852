#pragma once

#include "model/text_table.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace tarvenor {

// Why a ".tvp" file is asked for: the window menu's Import and Export, the profile manager's Add
// (a new file) and Load (an existing one).
enum class ProfileFilePurpose { Import, Export, AddProfile, LoadProfile };

// What the file dialog shows: the title of the command that opened it, filters that say what a
// ".tvp" file is, and whether a new file may be named.
struct ProfileFileDialogSetup {
    QString title;
    QStringList filters;
    bool save = false;
};

ProfileFileDialogSetup profile_file_dialog_setup(const LanguageFile& language,
                                                 ProfileFilePurpose purpose);

// A menu item's text as the title of the window it opens: without its access key and trailing dots.
QString menu_item_title(const LanguageFile& language, const char* key);

// The file name export offers, in the language shown.
QString default_profile_file_name(const LanguageFile& language);

// Runs the dialog in the folder of `initial`, offering its file name unless that is a pattern
// ("*.tvp"). The chosen path, or empty when cancelled.
QString ask_profile_file(QWidget* parent, const ProfileFileDialogSetup& setup,
                         const QString& initial);

} // namespace tarvenor
