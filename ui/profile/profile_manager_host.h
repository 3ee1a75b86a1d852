#pragma once

#include "model/text_table.h"
#include "model/user_storage.h"
#include "ui/main/profile_file_dialog.h"

#include <QString>
#include <QWidget>

#include <optional>

namespace tarvenor {

// What the profile manager asks of the main window's profile controls.
class ProfileManagerHost {
public:
    virtual ~ProfileManagerHost() = default;

    virtual const UserStorage& storage() const = 0;
    virtual SettingsStore& settings() = 0;
    virtual const TextTable& texts() const = 0;
    virtual const LanguageFile& language() const = 0;
    virtual int current_profile() const = 0;
    // The chosen profile (none: nothing is sent) becomes active and the configuration is
    // rebuilt from the keyboard, on the device worker; the window follows afterwards.
    virtual void choose_profile(std::optional<int> profile) = 0;
    virtual void show_message(const QString& text) = 0;
    // A Yes/No question, No the default; true for Yes.
    virtual bool ask(const QString& text) = 0;
    // The settings store did not take a value.
    virtual void tell_settings_failure(const FileWriteResult& result) = 0;
    // Where Add and Load put their rows; empty: the user cancelled.
    virtual QString choose_file(ProfileFilePurpose purpose, const QString& initial) = 0;
    // F1 in the manager: the program's help; a failure to open it is told over `asker`.
    virtual void show_help(QWidget* asker) = 0;
};

} // namespace tarvenor
