#include "ui/main/profile_file_dialog.h"

#include "ui/skin/qt_text.h"

#include <QFileDialog>
#include <QFileInfo>

namespace tarvenor {

namespace {

constexpr OwnText kFilterText{"PROFILE_FILE_FILTER", "Tarvenor profile (*.tvp)"};
constexpr OwnText kAllFilesText{"PROFILE_FILE_FILTER_ALL", "All files (*)"};
constexpr OwnText kFileNameText{"PROFILE_FILE_NAME", "Tarvenor profiles"};

} // namespace

QString menu_item_title(const LanguageFile& language, const char* key) {
    QString title = QString::fromStdString(language.text(key)).remove(QLatin1Char('&'));
    while (title.endsWith(QLatin1Char('.'))) {
        title.chop(1);
    }
    return title;
}

ProfileFileDialogSetup profile_file_dialog_setup(const LanguageFile& language,
                                                 ProfileFilePurpose purpose) {
    const auto setup = [&language](const char* title_key, bool save) {
        return ProfileFileDialogSetup{
            menu_item_title(language, title_key),
            {text_of(language, kFilterText), text_of(language, kAllFilesText)},
            save};
    };
    switch (purpose) {
    case ProfileFilePurpose::Export:
        return setup("MENU_2", true);
    case ProfileFilePurpose::AddProfile:
        return setup("PROFILE_ADD", true);
    case ProfileFilePurpose::LoadProfile:
        return setup("PROFILE_LOAD", false);
    case ProfileFilePurpose::Import:
        break;
    }
    return setup("MENU_1", false);
}

QString default_profile_file_name(const LanguageFile& language) {
    return text_of(language, kFileNameText) + QStringLiteral(".tvp");
}

QString ask_profile_file(QWidget* parent, const ProfileFileDialogSetup& setup,
                         const QString& initial) {
    const bool save = setup.save;
    const QFileInfo place(initial);
    QFileDialog dialog(parent, setup.title, place.path());
    dialog.setObjectName(QStringLiteral("file_dialog"));
    dialog.setNameFilters(setup.filters);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDefaultSuffix(QStringLiteral("tvp"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!place.fileName().isEmpty() && !place.fileName().contains(QLatin1Char('*'))) {
        dialog.selectFile(place.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace tarvenor
