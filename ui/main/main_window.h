#pragma once

#include "engine/arrival_read.h"
#include "engine/keyboard_jobs.h"
#include "model/configuration.h"
#include "model/text_table.h"
#include "model/user_storage.h"
#include "ui/logic/control_ids.h"
#include "ui/logic/key_click.h"
#include "ui/logic/refresh_coalescer.h"
#include "ui/logic/window_rules.h"
#include "ui/main/link_opener.h"
#include "ui/main/main_layout.h"
#include "ui/skin/skinned_dialog.h"

#include <QMessageBox>
#include <QPointer>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tarvenor {

class BusyBar;
class AboutDialog;
class LightingPanel;
class NoKeyboardLook;

// What the main window works with; all of it outlives the window.
struct MainWindowServices {
    const LanguageFile& language;
    const TextTable& texts;
    Configuration& configuration;
    std::filesystem::path help_file;
    bool tray_available = true;
};

// The main window: the keyboard drawing and the window's own controls, placed from the main
// skin. It decides nothing itself (the rules live in ui/logic); it places, paints and forwards.
// Device news arrive as queued calls of its public functions on the user interface thread.
class MainWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr const char* kVendorAddress = "https://tarvenor.example/";
    // Under the no-keyboard message while the window shows without a keyboard.
    static constexpr OwnText kNoKeyboardHintText{
        "MAIN_NO_DEVICE_HINT",
        "Plug the keyboard in: its settings show here as soon as it is found."};

    using AssignHandler = std::function<void(const KeyClickRequest&)>;
    using MessageHandler = std::function<void(const QString&)>;
    // Yes/No question, No the default; true for Yes.
    using Question = std::function<bool(const QString&)>;
    using UrlOpener = LinkOpener::Opener;

    // Throws SkinError naming the skin file or picture that is missing.
    MainWindow(const std::filesystem::path& skin_folder, MainWindowServices services);
    ~MainWindow() override;

    // The device worker; until it is set, jobs are dropped.
    void set_keyboard_jobs(KeyboardJobs* jobs);
    // The assignment dialog opens from here with the key-click request.
    void set_assign_handler(AssignHandler handler) { assign_ = std::move(handler); }
    // The lighting panel's re-read, run once per burst of the keyboard's refresh requests.
    void set_lighting_refresh(std::function<void()> refresh) {
        lighting_refresh_ = std::move(refresh);
    }
    void set_message_handler(MessageHandler handler) { message_ = std::move(handler); }
    void set_question(Question question) { question_ = std::move(question); }
    bool ask(const QString& text) { return question_(text); }
    void set_url_opener(UrlOpener opener) { links_.set_opener(std::move(opener)); }
    // Names the keyboard nodes this user may not open, asked whenever there is no keyboard.
    using AccessCheck = std::function<std::vector<std::string>()>;
    void set_access_check(AccessCheck check) { access_check_ = std::move(check); }
    // The tray tooltip for the connection state now.
    QString tray_tooltip_text() const;
    // Child dialogs (assignment, profile manager) that close when the keyboard goes or at exit.
    void add_child_dialog(QDialog* dialog);
    // Panels that answer some of the window's controls; a handler returns true for its own.
    void add_control_handler(std::function<bool(int)> handler) {
        control_handlers_.push_back(std::move(handler));
    }

    // Tray "Open", a second start, the first keyboard: show, or say there is no keyboard.
    void open_window();
    // Shows the window in front, not minimised, whatever the keyboard.
    void bring_up();
    // System close, Cancel, OK: out of the way (hidden, or minimised without a tray).
    void put_away();
    // The notification area came or went. Without one a hidden window could never be reached
    // again, so it shows; with one it stays as it is.
    void set_tray_available(bool available);
    void show_about();
    // A failure to open it is told over `asker`, the window that asked (this one when none).
    void show_help(QWidget* asker = nullptr);
    void close_child_dialogs();

    // Device news.
    // The reads of an arrival began: a request to open waits for them instead of saying there
    // is no keyboard.
    void arrival_started();
    // The reads of an arrival could not run: another program holds the keyboard.
    void arrival_busy(const QString& holder);
    // Takes in what the keyboard holds. Changes not yet applied are kept when the keyboard still
    // holds what it held before; when it now holds something else, the user chooses.
    void install_keyboard_state(KeyboardState state);
    // This program changed what the keyboard holds: it is no longer known as read.
    void forget_keyboard_file();
    void keyboard_gone();
    void set_connected_count(int count);
    void switch_bank(int bank);
    void request_lighting_refresh();
    void set_indicator(bool on);
    void show_message(const QString& text);

    // Runs work on the device worker with the busy bar shown. `done` runs on this thread with
    // the job's outcome, whatever it is.
    void run_keyboard_job(KeyboardJobs::Work work,
                          std::function<void(const JobOutcome&)> done = {});
    // Tells a busy keyboard (once while its message is on screen), or an unplugged one. With
    // `changes_kept` the user hears that the changes stay for Apply; an unplugged keyboard is
    // told only then (the window goes away with it anyway).
    void tell_outcome(const JobOutcome& outcome, bool changes_kept);
    // A file of ours could not be written: which file, and why.
    void tell_write_failure(const OwnText& text, const std::filesystem::path& path,
                            const FileWriteResult& result);
    QString own_text(const OwnText& text) const;
    // The message naming a damaged profile file's key, followed by what became of the file.
    QString damaged_file_text(const DamagedEntry& entry, const std::filesystem::path& file) const;
    void keyboard_job_started();
    void keyboard_job_finished();

    // Gives a key back the faces it had before it was clicked.
    void restore_key_look(int control_id);
    // The key shown highlighted while its assignment dialog is open; 0 for none.
    int highlighted_key() const { return highlighted_; }
    // RefreshAllCaptions: every key and G key shows its assignment as its tooltip and, when it
    // has one, its assigned look.
    void refresh_captions();
    // The configuration was edited: Apply is enabled.
    void mark_changed();
    bool has_unapplied_changes() const;

    // The profile controls' hold on the window's profile state.
    void set_current_profile(int profile) { current_profile_ = profile; }
    void set_panel_profile(int profile) { panel_profile_ = profile; }
    void select_profile_button(int profile);
    // The configuration was replaced or edited as a whole: the keys show it again.
    void configuration_replaced();
    // The arrow indicators beside Flip, from faces of BUTTONINFO2 in the arrow picture.
    void set_arrow_faces(const char* left_face, const char* right_face);
    // The background of the key set shown: D1..D6 in the F1..F4 row while Flip is on, so that a
    // key drawn as a mere frame still shows its caption.
    void show_key_set(bool flip);

    int connected_count() const { return connected_count_; }
    int current_profile() const { return current_profile_; }
    int panel_profile() const { return panel_profile_; }
    int bank() const { return bank_; }
    int tray_icon() const { return tray_icon_.shown(); }
    ImageButton* button(int control_id) const;
    ImageButton* button(MainControl control) const { return button(id_of(control)); }
    const MainPictures& pictures() const { return pictures_; }
    const BusyBar& busy_bar() const { return *busy_bar_; }
    LightingPanel& lighting() const { return *lighting_; }
    bool about_open() const { return !about_.isNull(); }
    const NoKeyboardLook& no_keyboard_look() const { return *no_keyboard_; }

signals:
    void tray_icon_changed(int icon_id);
    void tray_tooltip_changed(const QString& tooltip);
    void exit_requested();
    // After an arrival or a rebuild from the keyboard was installed.
    void keyboard_state_installed();
    // The last running keyboard job has ended and its outcome was taken in.
    void keyboard_jobs_ended();
    // A child dialog (assignment, profile manager) was closed.
    void child_dialog_closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void add_lighting_panel();
    void add_no_keyboard_look();
    // Greys the keyboard's controls while the window shows without a keyboard.
    void update_keyboard_look();
    void connect_buttons();
    void on_control(int control_id);
    void on_key_click(int control_id);
    void update_tray_icon(bool changed);
    void keep_messages_in_front();
    std::vector<std::string> unreachable_nodes() const;
    void run_lighting_refresh();
    // A damaged mirror met while the keyboard was read: where it went, or why it stayed.
    void tell_damaged_mirror(const KeyboardState& state);

    MainWindowServices services_;
    MainPictures pictures_;
    const SkinPicture* flip_background_ = nullptr;
    ButtonMap buttons_;
    BusyBar* busy_bar_ = nullptr;
    EnvironmentDocumentsFolder documents_;
    UserStorage storage_{documents_};
    LightingPanel* lighting_ = nullptr;
    std::unique_ptr<NoKeyboardLook> no_keyboard_;
    QPointer<AboutDialog> about_;
    std::vector<QPointer<QDialog>> children_;
    KeyboardJobs* jobs_ = nullptr;
    AssignHandler assign_;
    std::function<void()> lighting_refresh_;
    MessageHandler message_;
    Question question_;
    QPointer<QMessageBox> busy_box_;
    LinkOpener links_;
    AccessCheck access_check_;
    std::vector<std::function<bool(int)>> control_handlers_;

    TrayIconState tray_icon_;
    RefreshCoalescer refresh_;
    int connected_count_ = 0;
    int current_profile_ = -1;
    int panel_profile_ = 0;
    int bank_ = 0;
    int highlighted_ = 0;
    bool arriving_ = false;
    bool open_when_arrived_ = false;
    bool busy_told_ = false;
    // The keyboard's configuration as last read (a profile file's bytes); nothing when unknown,
    // for instance after this program changed it.
    std::optional<Bytes> keyboard_file_;
    FaceImages highlighted_faces_{};
};

} // namespace tarvenor
