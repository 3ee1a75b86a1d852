#include "ui/main/profile_panel.h"

#include "model/profile_file.h"
#include "ui/logic/apply_jobs.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/profile_controls.h"
#include "ui/logic/profile_list.h"
#include "ui/main/main_window.h"
#include "ui/profile/profile_manager_dialog.h"

#include <QCursor>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

#include <memory>

namespace tarvenor {
namespace {

constexpr const char* kFileFilter = "(*.tvp);;(*.*)";

bool ask_yes_no(const QString& text) {
    QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::Yes | QMessageBox::No);
    box.setObjectName(QStringLiteral("question"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString ask_file(bool save, const QString& initial) {
    QFileDialog dialog(nullptr, QString(), initial, QString::fromLatin1(kFileFilter));
    dialog.setObjectName(QStringLiteral("file_dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDefaultSuffix(QStringLiteral("tvp"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString text_of(const TextTable& texts, TextKey key) {
    return QString::fromStdString(texts.text(key));
}

} // namespace

ProfilePanel::ProfilePanel(MainWindow& window, ProfilePanelServices services)
    : QObject(&window), window_(window),
      services_(services), context_{services.configuration, snapshot_, services.storage,
                                    services.texts, *this},
      question_(ask_yes_no), choose_file_(ask_file) {
    window_.add_control_handler([this](int id) { return handle(id); });
    connect(&window_, &MainWindow::keyboard_state_installed, this,
            &ProfilePanel::keyboard_state_installed);
    show_flip();
    refresh_profile_label();
}

ProfilePanel::~ProfilePanel() = default;

// The sink of the jobs' messages, called on the device worker.
void ProfilePanel::show(Message message, const std::string& text) {
    static_cast<void>(message);
    const QString shown = QString::fromStdString(text);
    QMetaObject::invokeMethod(
        &window_, [this, shown] { window_.show_message(shown); }, Qt::QueuedConnection);
}

void ProfilePanel::show_message(const QString& text) {
    window_.show_message(text);
}

QString ProfilePanel::choose_file(bool save, const QString& initial) {
    return choose_file_(save, initial);
}

QString ProfilePanel::own_text(const OwnText& text) const {
    return QString::fromStdString(services_.language.text(text));
}

void ProfilePanel::show_help() {
    window_.show_help();
}

int ProfilePanel::current_profile() const {
    return window_.current_profile();
}

bool ProfilePanel::handle(int control_id) {
    if (const int profile = profile_of(control_id); profile >= 0) {
        select_profile(profile);
        return true;
    }
    if (const int rate = report_rate_of(control_id); rate >= 0) {
        set_report_rate(rate);
        return true;
    }
    switch (control_of_id<MainControl>(control_id)) {
    case MainControl::FlipLeft:
    case MainControl::FlipRight:
        toggle_flip();
        return true;
    case MainControl::Apply:
        apply();
        return true;
    case MainControl::Ok:
        apply([this] { window_.put_away(); });
        return true;
    case MainControl::Cancel:
        window_.put_away();
        return true;
    case MainControl::Default:
        restore_defaults();
        return true;
    case MainControl::Menu:
        open_menu();
        return true;
    case MainControl::Profiles:
        open_profile_manager();
        return true;
    default:
        return false;
    }
}

void ProfilePanel::enable_apply(bool enabled) {
    window_.button(MainControl::Apply)->setEnabled(enabled);
}

bool ProfilePanel::unsaved() const {
    const bool manager_pending = !manager_.isNull() && manager_->pending();
    return manager_pending || window_.button(MainControl::Apply)->isEnabled();
}

void ProfilePanel::select_profile(int profile) {
    window_.set_panel_profile(profile);
    if (show_lighting_) {
        show_lighting_(profile);
    }
    if (window_.current_profile() != profile) {
        switch_profile(profile);
    }
}

int ProfilePanel::switch_profile(int requested) {
    const int profile = ProfileSwitchGuard::target_of(requested);
    const bool editor_open = editor_open_ && editor_open_();
    SaveAnswer answer = SaveAnswer::NothingToSave;
    switch (guard_.decide(editor_open, unsaved())) {
    case ProfileSwitchGuard::Step::Refuse:
        if (editor_open) {
            window_.show_message(text_of(services_.texts, TextKey::ProfileSelectPrompt2));
        }
        return 0;
    case ProfileSwitchGuard::Step::AskSave:
        guard_.question_shown();
        answer = question_(text_of(services_.texts, TextKey::ProfileSelectPrompt))
                     ? SaveAnswer::Save
                     : SaveAnswer::Discard;
        guard_.question_answered();
        break;
    case ProfileSwitchGuard::Step::Switch:
        break;
    }
    auto result = std::make_shared<SwitchResult>();
    window_.run_keyboard_job(
        [this, result, profile, answer](CommandSet& commands) {
            *result = run_profile_switch(commands, context_, profile, answer);
        },
        [this, result, answer] {
            if (answer == SaveAnswer::Save && !result->saved) {
                window_.show_message(own_text(kApplyFailedText));
            } else {
                enable_apply(false);
            }
            install_switch(*result);
        });
    return 1;
}

void ProfilePanel::install_switch(const SwitchResult& result) {
    window_.set_current_profile(result.current_profile);
    if (result.switched) {
        window_.select_profile_button(result.current_profile);
    }
    if (!manager_.isNull() && manager_->is_open()) {
        manager_->show_active(result.current_profile);
    }
    window_.configuration_replaced();
    refresh_profile_label();
}

void ProfilePanel::set_report_rate(int rate) {
    show_report_rate(rate);
    const int profile = window_.panel_profile();
    window_.run_keyboard_job([profile, rate](CommandSet& commands) {
        // The window keeps the new choice whatever the keyboard answers.
        static_cast<void>(write_report_rate(commands, profile, rate));
    });
}

void ProfilePanel::show_report_rate(int stored) {
    const int rate = std::clamp(stored, 0, 3);
    for (int k = 0; k < static_cast<int>(kReportRateButtons.size()); ++k) {
        window_.button(kReportRateButtons[k])->set_selected(k == rate);
    }
}

void ProfilePanel::toggle_flip() {
    tarvenor::toggle_flip(services_.settings);
    show_flip();
}

void ProfilePanel::show_flip() {
    const FlipLook look = flip_look(read_flip(services_.settings));
    // D1..D6 lie over F1..F4 with other gaps between them, so only the enabled group shows. A
    // skin may leave D1..D6 out.
    const auto enable = [this](int id, bool enabled) {
        if (ImageButton* control = window_.button(id)) {
            control->setEnabled(enabled);
            control->setVisible(enabled);
        }
    };
    for (const MainControl key : kFKeys) {
        enable(id_of(key), look.f_keys_enabled);
    }
    for (const int id : control::kDKeys) {
        enable(id, look.d_keys_enabled);
    }
    ImageButton& indicator = *window_.button(MainControl::FlipIndicator);
    indicator.set_face_images(flip_indicator_faces(window_.pictures(), look.d_keys_enabled));
    window_.set_arrow_faces(look.left_arrow_face, look.right_arrow_face);
}

void ProfilePanel::apply(std::function<void()> then) {
    if (!window_.button(MainControl::Apply)->isEnabled()) {
        if (then) {
            then();
        }
        return;
    }
    auto applied = std::make_shared<bool>(false);
    window_.run_keyboard_job(
        [this, applied](CommandSet& commands) { *applied = apply_changes(commands, context_); },
        [this, applied, then = std::move(then)] {
            enable_apply(!*applied);
            if (!*applied) {
                window_.show_message(own_text(kApplyFailedText));
            }
            if (then) {
                then();
            }
        });
}

void ProfilePanel::restore_defaults() {
    if (!question_(text_of(services_.texts, TextKey::MainPromptDefault))) {
        return;
    }
    if (!reset_all_assignments(services_.configuration, window_.current_profile(),
                               window_.bank())) {
        return;
    }
    enable_apply(true);
    window_.configuration_replaced();
    if (reset_lighting_) {
        reset_lighting_();
    }
    auto kept = std::make_shared<KeptApply>();
    window_.run_keyboard_job(
        [this, kept](CommandSet& commands) {
            *kept = apply_changes_keeping_copy(commands, context_);
        },
        [this, kept] {
            enable_apply(!kept->applied);
            if (!kept->copy) {
                window_.show_message(own_text(kNoCopyText));
            } else if (!kept->applied) {
                window_.show_message(own_text(kApplyFailedText));
            }
        });
}

void ProfilePanel::open_menu() {
    QMenu menu(&window_);
    menu.setObjectName(QStringLiteral("file_menu"));
    const auto item = [&](const char* key, MenuCommand command) {
        QAction* action = menu.addAction(QString::fromStdString(services_.language.text(key)));
        action->setData(id_of(command));
    };
    item("MENU_1", MenuCommand::Import);
    item("MENU_2", MenuCommand::Export);
    item("MENU_3", MenuCommand::About);
    const QAction* chosen = menu.exec(QCursor::pos());
    if (chosen == nullptr) {
        return;
    }
    switch (control_of_id<MenuCommand>(chosen->data().toInt())) {
    case MenuCommand::Import:
        import_file();
        break;
    case MenuCommand::Export:
        export_file();
        break;
    default:
        window_.show_about();
    }
}

void ProfilePanel::export_file() {
    const QString path = choose_file_(true, QStringLiteral("*.tvp"));
    if (path.isEmpty()) {
        return;
    }
    if (!save_profile_file(path.toStdString(), services_.configuration, true)) {
        window_.show_message(own_text(kExportFailedText).arg(path));
    }
}

void ProfilePanel::import_file() {
    const QString path = choose_file_(false, QStringLiteral("*.tvp"));
    if (path.isEmpty()) {
        return;
    }
    auto result = std::make_shared<ImportResult>();
    window_.run_keyboard_job(
        [this, result, file = std::filesystem::path(path.toStdString())](CommandSet& commands) {
            *result = import_profile(commands, context_, file);
        },
        [this, result] {
            switch (result->outcome) {
            case ImportResult::Outcome::Imported:
                enable_apply(false);
                window_.configuration_replaced();
                break;
            case ImportResult::Outcome::DownloadFailed:
                window_.install_keyboard_state(result->state);
                enable_apply(true);
                window_.show_message(own_text(kImportFailedText)
                                         .arg(QString::fromStdString(result->copy->string())));
                break;
            case ImportResult::Outcome::KeyboardUnread:
                window_.show_message(own_text(kNoCopyText));
                break;
            case ImportResult::Outcome::NotValid:
                break;
            }
        });
}

void ProfilePanel::open_profile_manager() {
    if (manager_.isNull()) {
        manager_ = new ProfileManagerDialog(&window_, window_.skin_folder(), *this);
        window_.add_child_dialog(manager_);
    }
    manager_->exec();
}

void ProfilePanel::choose_profile(std::optional<int> profile) {
    auto state = std::make_shared<KeyboardState>();
    window_.run_keyboard_job(
        [this, state, profile](CommandSet& commands) {
            *state = run_profile_choice(commands, context_, profile);
        },
        [this, state] { window_.install_keyboard_state(*state); });
}

void ProfilePanel::keyboard_state_installed() {
    refresh_profile_label();
    if (!manager_.isNull() && manager_->is_open()) {
        manager_->show_active(window_.current_profile());
    }
}

void ProfilePanel::refresh_profile_label() {
    const ProfileLabel label =
        profile_label(services_.storage, services_.texts, window_.current_profile());
    ImageButton* button = window_.button(MainControl::Profiles);
    button->setText(QString::fromStdString(label.caption));
    button->set_tooltip(QString::fromStdString(label.tooltip), true);
}

} // namespace tarvenor
