#pragma once

#include "engine/job_context.h"
#include "engine/profile_switch.h"
#include "model/configuration.h"
#include "model/messages.h"
#include "model/text_table.h"
#include "model/user_storage.h"
#include "ui/logic/profile_switch_guard.h"
#include "ui/main/profile_file_dialog.h"
#include "ui/profile/profile_manager_dialog.h"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <functional>

namespace tarvenor {

class MainWindow;

struct ProfilePanelServices {
    Configuration& configuration;
    const UserStorage& storage;
    SettingsStore& settings;
    const LanguageFile& language;
    const TextTable& texts;
};

// The main window's controls that act on the keyboard as a whole: profile and report-rate
// buttons, Flip, Apply/OK/Cancel, restore defaults, the file menu, and the profile manager.
// Keyboard work goes to the device worker through the window's job runner.
class ProfilePanel final : public QObject, public ProfileManagerHost, private MessageSink {
    Q_OBJECT
public:
    // Yes/No question, No the default; true for Yes.
    using Question = std::function<bool(const QString&)>;
    // Apply, Discard or Cancel for changes not yet applied; Cancel the default.
    using SaveQuestion = std::function<SaveChoice(const QString&)>;
    // A file to open or save (save: true); empty when cancelled.
    using FileChooser = std::function<QString(ProfileFilePurpose purpose, const QString& initial)>;

    static constexpr OwnText kApplyFailedText{
        "PROFILE_APPLY_FAILED",
        "The keyboard did not take every change. Apply stays enabled to try again."};
    static constexpr OwnText kImportFailedText{
        "PROFILE_IMPORT_FAILED",
        "The keyboard did not take the whole profile file; the window shows what it holds now. "
        "What it held before the import is in: %1"};
    static constexpr OwnText kNoCopyText{
        "PROFILE_NO_COPY",
        "The keyboard's content could not be read to keep a copy of it, so nothing was written "
        "to the keyboard."};
    static constexpr OwnText kExportFailedText{"PROFILE_EXPORT_FAILED",
                                               "The profile file could not be saved: %1"};
    static constexpr OwnText kExitPromptText{
        "EXIT_UNAPPLIED_PROMPT",
        "Key assignments were changed but not applied. Apply them to the keyboard before the "
        "program ends?"};
    static constexpr OwnText kDiscardText{"EXIT_DISCARD", "&Discard"};

    // Takes over the window's controls that are its own and follows its keyboard state.
    ProfilePanel(MainWindow& window, ProfilePanelServices services);
    ~ProfilePanel() override;

    // Whether the assignment dialog is open (a profile switch is refused meanwhile).
    void set_editor_open(std::function<bool()> editor_open) {
        editor_open_ = std::move(editor_open);
    }
    // The lighting panel: show a profile's lighting (switch off), and its reset for the
    // defaults when its switch is on.
    void set_lighting_hooks(std::function<void(int)> show_profile, std::function<void()> reset) {
        show_lighting_ = std::move(show_profile);
        reset_lighting_ = std::move(reset);
    }
    // Told of every profile the user makes active by hand (profile buttons, profile manager).
    void set_chosen_by_hand(std::function<void(int)> hook) { chosen_by_hand_ = std::move(hook); }
    // The file menu's item for the rules of profiles by application.
    void set_rules_opener(std::function<void()> open) { open_rules_ = std::move(open); }
    void set_question(Question question) { question_ = std::move(question); }
    void set_save_question(SaveQuestion question) { save_question_ = std::move(question); }
    void set_file_chooser(FileChooser chooser) { choose_file_ = std::move(chooser); }

    // The close button and the tray's Exit: `exit` ends the program. With changes not yet
    // applied the window comes up and asks first: Apply ends it once the keyboard holds them (a
    // failed Apply is told and the program stays), Discard ends it at once, Cancel stays.
    void request_exit(std::function<void()> exit);

    // Answers the window's controls that are this panel's; false for any other.
    bool handle(int control_id);
    // The report-rate buttons follow byte 15 of the shown profile's lighting record.
    void show_report_rate(int stored);
    // After an arrival or a rebuild: the label and the manager follow the keyboard.
    void keyboard_state_installed();

    // The file menu's Import and Export, each with its file dialog.
    void import_file();
    void export_file();

    // 1: switched (or the switch is under way on the worker); 0: refused.
    int switch_profile(int profile);
    void refresh_profile_label();
    void add_report_rate_label();

    // Whether a switch that follows the application in front must wait: a dialog is open, a
    // keyboard job runs, or changes are not applied (a switch would leave them behind).
    bool automatic_switch_waits() const;
    // Makes `profile` active without a question; `ended` gets the keyboard's active profile
    // afterwards (-1: not known).
    void follow_profile(int profile, std::function<void(int)> ended);
    void open_profile_manager();
    ProfileManagerDialog* profile_manager() const { return manager_; }

    // ProfileManagerHost
    const UserStorage& storage() const override { return services_.storage; }
    SettingsStore& settings() override { return services_.settings; }
    const TextTable& texts() const override { return services_.texts; }
    int current_profile() const override;
    void choose_profile(std::optional<int> profile) override;
    void show_message(const QString& text) override;
    bool ask(const QString& text) override { return question_(text); }
    void tell_settings_failure(const FileWriteResult& result) override;
    QString choose_file(ProfileFilePurpose purpose, const QString& initial) override;
    void show_help(QWidget* asker) override;
    const LanguageFile& language() const override { return services_.language; }

private:
    QString own_text(const OwnText& text) const;
    void show(Message message, const std::string& text) override;

    void select_profile(int profile);
    void set_report_rate(int rate);
    void toggle_flip();
    void show_flip();
    void apply(std::function<void()> then = {});
    void restore_defaults();
    void open_menu();
    bool unsaved() const;
    void install_switch(const SwitchResult& result);
    void switch_not_taken(int profile);
    void show_panel_profile(int profile);
    void enable_apply(bool enabled);
    // After an Apply the keyboard took: Apply goes off and a mirror that failed is told.
    void applied(const ApplyResult& result);
    void tell_no_copy(const PulledFile& copy);
    void tell_import(ImportResult& result, const QString& path);
    // Reads what the keyboard holds and shows it; `then` follows once it is shown.
    void read_state(std::optional<int> profile, std::function<void()> then = {});

    MainWindow& window_;
    ProfilePanelServices services_;
    KeyboardContext context_;
    ProfileSwitchGuard guard_;
    QPointer<ProfileManagerDialog> manager_;
    std::function<bool()> editor_open_;
    std::function<void(int)> show_lighting_;
    std::function<void()> reset_lighting_;
    std::function<void(int)> chosen_by_hand_;
    std::function<void()> open_rules_;
    Question question_;
    SaveQuestion save_question_;
    FileChooser choose_file_;
};

} // namespace tarvenor
