#include "ui/main/profile_panel.h"

#include "engine/apply.h"
#include "model/profile_file.h"
#include "ui/logic/focus_texts.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/outcome_texts.h"
#include "ui/logic/profile_controls.h"
#include "ui/logic/profile_list.h"
#include "ui/logic/skin_keys.h"
#include "ui/main/busy_bar.h"
#include "ui/main/lighting_panel.h"
#include "ui/main/main_window.h"
#include "ui/main/profile_file_dialog.h"
#include "ui/profile/profile_manager_dialog.h"
#include "ui/skin/placement.h"
#include "ui/skin/qt_text.h"

#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace tarvenor {
namespace {

// At the pointer when the menu button was clicked; under the button when it was pressed from the
// keyboard, since the pointer may then be anywhere on the screen.
QPoint menu_origin(const QWidget& button) {
    const QPoint pointer = QCursor::pos();
    if (button.rect().contains(button.mapFromGlobal(pointer))) {
        return pointer;
    }
    return button.mapToGlobal(QPoint(0, button.height()));
}

SaveChoice ask_apply_discard_cancel(QWidget* parent, const LanguageFile& language,
                                    const QString& text) {
    const auto caption = [&language](const OwnText& own) {
        return QString::fromStdString(language.text(own));
    };
    QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("question"));
    const QAbstractButton* apply =
        box.addButton(caption({"PROFILE_APPLY", "Apply"}), QMessageBox::AcceptRole);
    const QAbstractButton* discard =
        box.addButton(caption(ProfilePanel::kDiscardText), QMessageBox::DestructiveRole);
    QPushButton* cancel =
        box.addButton(caption({"PROFILE_CANCLE", "Cancel"}), QMessageBox::RejectRole);
    // Nothing is written and nothing lost by a stray Enter or Escape.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == apply) {
        return SaveChoice::Apply;
    }
    return box.clickedButton() == discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

} // namespace

ProfilePanel::ProfilePanel(MainWindow& window, ProfilePanelServices services)
    : QObject(&window), window_(window),
      services_(services), context_{services.storage, services.texts, *this},
      question_([&window](const QString& text) { return window.ask(text); }),
      save_question_([&window, &language = services.language](const QString& text) {
          return ask_apply_discard_cancel(&window, language, text);
      }),
      choose_file_([&window, &language = services.language](ProfileFilePurpose purpose,
                                                            const QString& initial) {
          return ask_profile_file(&window, profile_file_dialog_setup(language, purpose), initial);
      }) {
    window_.add_control_handler([this](int id) { return handle(id); });
    connect(&window_, &MainWindow::keyboard_state_installed, this,
            &ProfilePanel::keyboard_state_installed);
    show_flip();
    refresh_profile_label();
    add_report_rate_label();
}

// The caption before the four report-rate buttons, in the language shown.
void ProfilePanel::add_report_rate_label() {
    auto* label = new QLabel(&window_);
    label->setObjectName(QString::fromLatin1(skin_keys::main_window::kReportRateLabel));
    label->setText(QString::fromStdString(window_.skin().get(
        skin_keys::names_section(services_.language.is_english(), false), "Usb")));
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    place_control(*label, window_.skin(), skin_keys::kControls,
                  skin_keys::main_window::kReportRateLabel);
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

QString ProfilePanel::choose_file(ProfileFilePurpose purpose, const QString& initial) {
    return choose_file_(purpose, initial);
}

QString ProfilePanel::own_text(const OwnText& text) const {
    return window_.own_text(text);
}

void ProfilePanel::show_help(QWidget* asker) {
    window_.show_help(asker);
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
    show_panel_profile(profile);
    if (window_.current_profile() != profile && switch_profile(profile) == 1 && chosen_by_hand_) {
        chosen_by_hand_(profile);
    }
}

bool ProfilePanel::automatic_switch_waits() const {
    const bool manager_open = !manager_.isNull() && manager_->is_open();
    return (editor_open_ && editor_open_()) || manager_open || unsaved() ||
           window_.busy_bar().logic().running() > 0;
}

void ProfilePanel::follow_profile(int profile, std::function<void(int)> ended) {
    auto result = std::make_shared<SwitchResult>();
    window_.run_keyboard_job(
        [result, profile](CommandSet& commands) {
            *result = tarvenor::follow_profile(commands, profile);
            return result->status;
        },
        [this, result, ended = std::move(ended)](const JobOutcome& outcome) {
            // Nobody asked for this switch: a failure is not told; the follower tries again.
            if (outcome.end == JobEnd::Done) {
                install_switch(*result);
                if (result->switched && window_.panel_profile() != result->current_profile) {
                    show_panel_profile(result->current_profile);
                }
            }
            ended(window_.current_profile());
        });
}

void ProfilePanel::show_panel_profile(int profile) {
    window_.set_panel_profile(profile);
    if (show_lighting_) {
        show_lighting_(profile);
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
    // A damaged mirror cannot give the keyboard's settings back: they are read from the keyboard
    // once it has switched, which keeps the damaged file aside and tells about it.
    bool read_again = false;
    if (answer == SaveAnswer::Discard) {
        if (is_profile(window_.current_profile())) {
            std::optional<Configuration> mirror = mirror_configuration(services_.storage);
            read_again = !mirror;
            services_.configuration.replace(mirror ? std::move(*mirror) : default_configuration());
        }
        enable_apply(false);
        window_.configuration_replaced();
    }
    auto result = std::make_shared<SwitchResult>();
    window_.run_keyboard_job(
        [this, result, profile, answer,
         configuration = services_.configuration](CommandSet& commands) mutable {
            *result =
                run_profile_switch(commands, context_, profile, answer, std::move(configuration));
            return result->status;
        },
        [this, result, profile, answer, read_again](const JobOutcome& outcome) {
            if (outcome.end != JobEnd::Done) {
                window_.tell_outcome(outcome, answer == SaveAnswer::Save);
                switch_not_taken(-1);
                return;
            }
            if (answer == SaveAnswer::Save) {
                if (result->saved.sent) {
                    applied(result->saved);
                } else {
                    window_.show_message(own_text(kApplyFailedText));
                }
            }
            if (!result->switched) {
                switch_not_taken(profile);
            }
            install_switch(*result);
            if (read_again) {
                read_state(std::nullopt);
            }
        });
    return 1;
}

// The window keeps showing the profile the keyboard uses, and the changes that follow go there.
void ProfilePanel::switch_not_taken(int profile) {
    if (profile >= 0) {
        window_.show_message(own_text(outcome_text::kSwitchFailed).arg(profile + 1));
    }
    const int active = window_.current_profile();
    if (is_profile(active)) {
        window_.select_profile_button(active);
        show_panel_profile(active);
    }
}

void ProfilePanel::applied(const ApplyResult& result) {
    enable_apply(false);
    window_.forget_keyboard_file();
    if (result.mirror_failed()) {
        window_.tell_write_failure(outcome_text::kMirrorFailed, services_.storage.mirror_path(),
                                   *result.mirror);
    }
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

// Written like any lighting change: the lighting panel knows what the keyboard holds and puts
// the buttons back when the keyboard does not take it.
void ProfilePanel::set_report_rate(int rate) {
    show_report_rate(rate);
    window_.lighting().logic().choose_report_rate(window_.panel_profile(), rate);
}

void ProfilePanel::show_report_rate(int stored) {
    const int rate = std::clamp(stored, 0, 3);
    for (int k = 0; k < static_cast<int>(kReportRateButtons.size()); ++k) {
        window_.button(kReportRateButtons[k])->set_selected(k == rate);
    }
}

void ProfilePanel::toggle_flip() {
    if (const FileWriteResult stored = tarvenor::toggle_flip(services_.settings); !stored) {
        tell_settings_failure(stored);
    }
    show_flip();
}

void ProfilePanel::tell_settings_failure(const FileWriteResult& result) {
    window_.tell_write_failure(outcome_text::kSettingFailed, services_.settings.location(), result);
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
    window_.show_key_set(look.d_keys_enabled);
    ImageButton& indicator = *window_.button(MainControl::FlipIndicator);
    indicator.set_face_images(flip_indicator_faces(window_.pictures(), look.d_keys_enabled));
    window_.set_arrow_faces(look.left_arrow_face, look.right_arrow_face);
}

void ProfilePanel::apply(std::function<void()> then) {
    if (!window_.has_unapplied_changes()) {
        // Nothing to write: the busy bar still shows briefly, so the click is seen to be taken.
        window_.keyboard_job_started();
        window_.keyboard_job_finished();
        if (then) {
            then();
        }
        return;
    }
    auto result = std::make_shared<ApplyResult>();
    window_.run_keyboard_job(
        [this, result, configuration = services_.configuration](CommandSet& commands) mutable {
            *result = apply_changes(commands, context_, std::move(configuration));
            return result->status;
        },
        [this, result, then = std::move(then)](const JobOutcome& outcome) {
            if (outcome.end != JobEnd::Done) {
                window_.tell_outcome(outcome, true);
                return;
            }
            if (!result->sent) {
                window_.show_message(own_text(kApplyFailedText));
                return;
            }
            applied(*result);
            // OK puts the window away only once the keyboard holds the changes.
            if (then) {
                then();
            }
        });
}

void ProfilePanel::request_exit(std::function<void()> exit) {
    switch (guard_.decide_exit(window_.has_unapplied_changes())) {
    case ProfileSwitchGuard::Step::Refuse:
        return;
    case ProfileSwitchGuard::Step::Switch:
        exit();
        return;
    case ProfileSwitchGuard::Step::AskSave:
        break;
    }
    // The question needs its window on screen, also when Exit came from the tray.
    window_.bring_up();
    guard_.question_shown();
    const SaveChoice choice = save_question_(own_text(kExitPromptText));
    guard_.question_answered();
    switch (choice) {
    case SaveChoice::Apply:
        apply(std::move(exit));
        return;
    case SaveChoice::Discard:
        exit();
        return;
    case SaveChoice::Cancel:
        return;
    }
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
    if (reset_lighting_ && window_.lighting().logic().light_switch()) {
        reset_lighting_();
    }
    auto kept = std::make_shared<KeptApply>();
    window_.run_keyboard_job(
        [this, kept, configuration = services_.configuration](CommandSet& commands) mutable {
            *kept = apply_changes_keeping_copy(commands, context_, std::move(configuration));
            return kept->applied.status;
        },
        [this, kept](const JobOutcome& outcome) {
            if (outcome.end != JobEnd::Done) {
                window_.tell_outcome(outcome, true);
            } else if (!kept->copy) {
                tell_no_copy(kept->copy);
            } else if (!kept->applied.sent) {
                window_.show_message(own_text(kApplyFailedText));
            } else {
                applied(kept->applied);
            }
        });
}

void ProfilePanel::tell_no_copy(const PulledFile& copy) {
    if (copy.result == KeyboardFileResult::WriteFailed) {
        window_.show_message(
            own_text(outcome_text::kCopyNotSaved).arg(QString::fromStdString(copy.reason())));
    } else {
        window_.show_message(own_text(kNoCopyText));
    }
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
    // About stays the last item, where a menu's About is looked for.
    if (open_rules_) {
        menu.addAction(QString::fromStdString(services_.language.text(focus_text::kMenuRules)))
            ->setData(id_of(MenuCommand::ProfileRules));
    }
    item("MENU_3", MenuCommand::About);
    const QAction* chosen = menu.exec(menu_origin(*window_.button(MainControl::Menu)));
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
    case MenuCommand::ProfileRules:
        open_rules_();
        break;
    default:
        window_.show_about();
    }
}

void ProfilePanel::export_file() {
    const QString path =
        choose_file_(ProfileFilePurpose::Export,
                     QString::fromStdString(services_.storage.documents().string()) +
                         QLatin1Char('/') + default_profile_file_name(services_.language));
    if (path.isEmpty()) {
        return;
    }
    if (const FileWriteResult saved =
            save_profile_file(path.toStdString(), services_.configuration);
        !saved) {
        window_.show_message(
            own_text(kExportFailedText)
                .arg(path + QStringLiteral(": ") + QString::fromStdString(saved.reason())));
    }
}

void ProfilePanel::import_file() {
    const QString path =
        choose_file_(ProfileFilePurpose::Import,
                     QString::fromStdString((services_.storage.documents() / "*.tvp").string()));
    if (path.isEmpty()) {
        return;
    }
    auto result = std::make_shared<ImportResult>();
    window_.run_keyboard_job(
        [this, result, file = std::filesystem::path(path.toStdString())](CommandSet& commands) {
            *result = import_profile(commands, context_, file);
            return result->applied.status;
        },
        [this, result, path](const JobOutcome& outcome) {
            if (outcome.end != JobEnd::Done) {
                window_.tell_outcome(outcome, false);
                return;
            }
            tell_import(*result, path);
        });
}

void ProfilePanel::tell_import(ImportResult& result, const QString& path) {
    switch (result.outcome) {
    case ImportResult::Outcome::Imported:
        services_.configuration.replace(std::move(*result.configuration));
        applied(result.applied);
        window_.configuration_replaced();
        return;
    case ImportResult::Outcome::DownloadFailed:
        window_.show_message(
            own_text(kImportFailedText).arg(QString::fromStdString(result.copy.path.string())));
        // The keyboard may hold part of the file: the window shows that, and Apply stays on.
        read_state(std::nullopt, [this] { enable_apply(true); });
        return;
    case ImportResult::Outcome::NoCopy:
        tell_no_copy(result.copy);
        return;
    case ImportResult::Outcome::Unreadable:
        window_.show_message(own_text(outcome_text::kImportUnreadable).arg(path));
        return;
    case ImportResult::Outcome::NotValid:
        window_.show_message(text_of(services_.texts, TextKey::MainPromptImport));
        return;
    case ImportResult::Outcome::Damaged:
        window_.show_message(window_.damaged_file_text(result.damaged, path.toStdString()) +
                             QLatin1Char(' ') + own_text(outcome_text::kDamagedNotImported));
        return;
    }
}

void ProfilePanel::open_profile_manager() {
    if (manager_.isNull()) {
        manager_ = new ProfileManagerDialog(&window_, window_.skin_folder(), *this);
        window_.add_child_dialog(manager_);
    }
    manager_->exec();
}

void ProfilePanel::choose_profile(std::optional<int> profile) {
    read_state(profile);
    if (profile && is_profile(*profile) && chosen_by_hand_) {
        chosen_by_hand_(*profile);
    }
}

void ProfilePanel::read_state(std::optional<int> profile, std::function<void()> then) {
    auto state = std::make_shared<KeyboardState>();
    window_.run_keyboard_job(
        [this, state, profile](CommandSet& commands) {
            *state = run_profile_choice(commands, context_, profile);
            return DeviceStatus::Success;
        },
        [this, state, then = std::move(then)](const JobOutcome& outcome) {
            if (outcome.end == JobEnd::Done) {
                window_.install_keyboard_state(std::move(*state));
            } else {
                window_.tell_outcome(outcome, false);
            }
            if (then) {
                then();
            }
        });
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
