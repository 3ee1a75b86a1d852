#include "ui/main/profile_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace tarvenor {

namespace {

constexpr OwnText kFilterText{"PROFILE_FILE_FILTER", "Tarvenor profile (*.tvp)"};
constexpr OwnText kAllFilesText{"PROFILE_FILE_FILTER_ALL", "All files (*)"};
constexpr OwnText kFileNameText{"PROFILE_FILE_NAME", "Tarvenor profiles"};

QString text_of(const LanguageFile& language, const OwnText& text) {
    return QString::fromStdString(language.text(text));
}

} // namespace

QString menu_item_title(const LanguageFile& language, const char* key) {
    QString title = QString::fromStdString(language.text(key)).remove(QLatin1Char('&'));
    while (title.endsWith(QLatin1Char('.'))) {
        title.chop(1);
    }
    return title;
}

ProfileFileDialogSetup profile_file_dialog_setup(const LanguageFile& language, bool save) {
    return {menu_item_title(language, save ? "MENU_2" : "MENU_1"),
            {text_of(language, kFilterText), text_of(language, kAllFilesText)}};
}

QString default_profile_file_name(const LanguageFile& language) {
    return text_of(language, kFileNameText) + QStringLiteral(".tvp");
}

QString ask_profile_file(QWidget* parent, bool save, const ProfileFileDialogSetup& setup,
                         const QString& initial) {
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
