#include "ui/main/main_window.h"

#include "model/profile_file.h"
#include "ui/logic/assignment_captions.h"
#include "ui/logic/g_keys.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/outcome_texts.h"
#include "ui/logic/profile_controls.h"
#include "ui/logic/skin_keys.h"
#include "ui/main/about_dialog.h"
#include "ui/main/busy_bar.h"
#include "ui/main/lighting_panel.h"
#include "ui/main/no_keyboard_look.h"
#include "ui/skin/placement.h"
#include "ui/skin/qt_text.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>

namespace tarvenor {
namespace {

// Keys named by their position on the matrix: their tooltips also say where they are.
struct KeyPlace {
    KeyCode code;
    OwnText where;
};
constexpr KeyPlace kKeyPlaces[] = {
    {0x056, {"KEY_PLACE_K45", "The extra key between left Shift and Z (ISO keyboards)"}},
    {0x073,
     {"KEY_PLACE_K56",
      "The extra key between / and right Shift (Brazilian and Japanese keyboards)"}},
};

const OwnText* place_of(int control_id) {
    const std::optional<KeyCode> code = keyboard_key_of(control_id);
    for (const KeyPlace& place : kKeyPlaces) {
        if (code == place.code) {
            return &place.where;
        }
    }
    return nullptr;
}

// Parented to the window, so that it is never hidden behind it; shown as a window of its own
// while the window is hidden in the tray.
QMessageBox* show_message_box(QWidget* parent, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Information, QString(), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("message"));
    box->show();
    box->raise();
    return box;
}

bool ask_yes_no(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setObjectName(QStringLiteral("question"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

MainWindow::MainWindow(const std::filesystem::path& skin_folder, MainWindowServices services)
    : SkinnedDialog(nullptr, skin_folder / "Main.ini", skin_folder), services_(std::move(services)),
      message_([this](const QString& text) { show_message_box(this, text); }),
      question_([this](const QString& text) { return ask_yes_no(this, text); }),
      links_(services_.language, services_.help_file) {
    setObjectName(QStringLiteral("main"));
    apply_skin();
    pictures_ = MainPictures::find(SkinPictures::shared(), skin_folder);
    flip_background_ =
        &skin_picture(skin().get(skin_keys::kScreen, skin_keys::kFlipBackground,
                                 skin().get(skin_keys::kScreen, skin_keys::kBackground)));
    buttons_ = place_main_controls(*this, skin(), pictures_, services_.language, services_.texts);
    couple_draws(buttons_);
    add_lighting_panel();
    busy_bar_ = new BusyBar(this, skin_folder);
    place_control(*busy_bar_, skin(), skin_keys::kControls, skin_keys::main_window::kBusyBar);
    button(MainControl::Apply)->setEnabled(false);
    setWindowTitle(text_of(services_.texts, TextKey::MainCaption));
    setWindowIcon(QIcon(QString::fromStdString((skin_folder / "icon128.png").string())));
    switch_bank(0);
    connect_buttons();
    add_no_keyboard_look();
}

MainWindow::~MainWindow() = default;

ImageButton* MainWindow::button(int control_id) const {
    const auto found = buttons_.find(control_id);
    return found == buttons_.end() ? nullptr : found->second;
}

void MainWindow::add_lighting_panel() {
    lighting_ = new LightingPanel(*this, skin(), skin_folder(), services_.language, storage_,
                                  [this](int id) { return button(id); });
    lighting_->set_switch_off_hook([this] { refresh_captions(); });
    LightingPanelLogic& logic = lighting_->logic();
    logic.set_outcome_hook([this](const JobOutcome& outcome) { tell_outcome(outcome, false); });
    logic.set_setting_failure_hook([this](const FileWriteResult& result) {
        tell_write_failure(outcome_text::kSettingFailed, storage_.settings_file(), result);
    });
    lighting_refresh_ = [this] { lighting_->logic().read_lighting(false); };
}

void MainWindow::add_no_keyboard_look() {
    QRect drawing;
    for (const KeyboardKey& key : keyboard_key_list()) {
        drawing |= button(key.control_id)->geometry();
    }
    for (const int id : GButtonControlIds()) {
        drawing |= button(id)->geometry();
    }
    const QString text = text_of(services_.texts, TextKey::MainNoDevicePrompt).trimmed() +
                         QLatin1Char('\n') + own_text(kNoKeyboardHintText);
    no_keyboard_ = std::make_unique<NoKeyboardLook>(*this, text, drawing, [](const QWidget& w) {
        return works_without_keyboard(w.property("control_id").toInt());
    });
}

void MainWindow::update_keyboard_look() {
    no_keyboard_->set_shown(shows_no_keyboard(isVisible(), connected_count_, arriving_));
}

void MainWindow::set_keyboard_jobs(KeyboardJobs* jobs) {
    jobs_ = jobs;
    lighting_->logic().set_jobs(jobs);
}

void MainWindow::connect_buttons() {
    for (const auto& [id, control] : buttons_) {
        connect(control, &QAbstractButton::clicked, this, [this, id = id] { on_control(id); });
    }
}

void MainWindow::on_control(int control_id) {
    for (const auto& handler : control_handlers_) {
        if (handler(control_id)) {
            return;
        }
    }
    switch (control_of_id<MainControl>(control_id)) {
    case MainControl::SkinLink:
        links_.open_address(
            this, QString::fromStdString(skin().get(skin_keys::kScreen, skin_keys::kLink)));
        return;
    case MainControl::VendorLink:
        links_.open_address(this, QString::fromLatin1(kVendorAddress));
        return;
    case MainControl::Help:
        show_help();
        return;
    case MainControl::Minimise:
        showMinimized();
        return;
    case MainControl::Close:
        emit exit_requested();
        return;
    case MainControl::Ok:
    case MainControl::Cancel:
        put_away();
        return;
    default:
        on_key_click(control_id);
    }
}

void MainWindow::on_key_click(int control_id) {
    if (lighting_->logic().click_key(control_id)) {
        return;
    }
    const ClickOutcome outcome = decide_click(control_id, false, bank_);
    if (outcome.action != ClickAction::Assign) {
        return;
    }
    restore_key_look(highlighted_);
    ImageButton* clicked = button(outcome.highlighted_control);
    highlighted_ = outcome.highlighted_control;
    highlighted_faces_ = clicked->faces();
    const SkinPicture* over = pictures_.over;
    clicked->set_face_images({over, over, pictures_.down, pictures_.normal, over});
    if (assign_) {
        assign_(outcome.request);
    }
}

void MainWindow::restore_key_look(int control_id) {
    if (control_id == 0 || control_id != highlighted_) {
        return;
    }
    button(control_id)->set_face_images(highlighted_faces_);
    highlighted_ = 0;
}

std::vector<std::string> MainWindow::unreachable_nodes() const {
    return connected_count_ <= 0 && access_check_ ? access_check_() : std::vector<std::string>{};
}

QString MainWindow::tray_tooltip_text() const {
    return text_of(services_.texts, tray_tooltip(connected_count_, !unreachable_nodes().empty()));
}

void MainWindow::open_window() {
    if (arriving_) {
        // The keyboard is there and being read: the window opens once it has been.
        open_when_arrived_ = true;
        return;
    }
    const std::vector<std::string> nodes = unreachable_nodes();
    switch (decide_open(connected_count_, !nodes.empty())) {
    case OpenDecision::NoDeviceMessage:
        show_message(text_of(services_.texts, TextKey::MainNoDevicePrompt));
        return;
    case OpenDecision::NoAccessMessage: {
        std::string list;
        for (const std::string& node : nodes) {
            list.append(list.empty() ? "" : ", ").append(node);
        }
        show_message(QString::fromStdString(
            format_text(services_.texts.text(TextKey::MainNoAccessPrompt), list)));
        emit tray_tooltip_changed(tray_tooltip_text());
        return;
    }
    case OpenDecision::Show:
        break;
    }
    bring_up();
}

void MainWindow::bring_up() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    keep_messages_in_front();
}

// A message shown while the window was hidden had no window to stay above (Wayland gives it none
// until it is shown again), so the opening window would cover it.
void MainWindow::keep_messages_in_front() {
    for (QMessageBox* box : findChildren<QMessageBox*>(Qt::FindDirectChildrenOnly)) {
        if (box->isVisible()) {
            box->hide();
            box->show();
            box->raise();
        }
    }
}

void MainWindow::put_away() {
    if (hide_action(services_.tray_available) == HideAction::Hide) {
        hide();
    } else {
        showMinimized();
    }
}

void MainWindow::set_tray_available(bool available) {
    services_.tray_available = available;
    if (!available && isHidden()) {
        show();
    }
}

void MainWindow::show_about() {
    if (about_.isNull()) {
        about_ = new AboutDialog(
            this, services_.language,
            QString::fromStdString(skin().get(skin_keys::kScreen, skin_keys::kLink)), links_);
    }
    about_->show();
    about_->raise();
}

void MainWindow::show_help(QWidget* asker) {
    links_.open_help(asker != nullptr ? asker : this);
}

void MainWindow::show_message(const QString& text) {
    message_(text);
}

void MainWindow::add_child_dialog(QDialog* dialog) {
    children_.emplace_back(dialog);
    connect(dialog, &QDialog::finished, this, &MainWindow::child_dialog_closed,
            Qt::QueuedConnection);
}

void MainWindow::close_child_dialogs() {
    if (!about_.isNull()) {
        about_->close();
    }
    for (const QPointer<QDialog>& child : children_) {
        if (!child.isNull() && child->isVisible()) {
            child->reject();
        }
    }
}

void MainWindow::arrival_started() {
    arriving_ = true;
    keyboard_job_started();
    update_keyboard_look();
}

void MainWindow::arrival_busy(const QString& holder) {
    // The count follows regardless: the window may open and shows the defaults meanwhile.
    arriving_ = false;
    keyboard_job_finished();
    update_keyboard_look();
    if (!busy_told_) {
        busy_told_ = true;
        show_message(own_text(outcome_text::kBusy).arg(holder));
    }
}

void MainWindow::install_keyboard_state(KeyboardState state) {
    const bool changed_meanwhile = !state.configuration || keyboard_file_ != state.keyboard_file;
    const bool keep_edits =
        has_unapplied_changes() && (!changed_meanwhile || !state.configuration ||
                                    ask(own_text(outcome_text::kKeyboardChanged)));
    if (!keep_edits) {
        services_.configuration.replace(state.configuration ? std::move(*state.configuration)
                                                            : default_configuration());
        button(MainControl::Apply)->setEnabled(false);
    }
    keyboard_file_.reset();
    if (state.configuration) {
        keyboard_file_ = std::move(state.keyboard_file);
    }
    if (state.damaged_mirror) {
        tell_damaged_mirror(state);
    } else if (state.mirror_failed()) {
        tell_write_failure(outcome_text::kMirrorNotRefreshed, state.mirror_path, *state.mirror);
    }
    current_profile_ = state.current_profile;
    if (current_profile_ >= 0 && current_profile_ < kKeyboardProfiles) {
        select_profile_button(current_profile_);
        panel_profile_ = current_profile_;
    }
    refresh_captions();
    lighting_->logic().keyboard_arrived(current_profile_);
    busy_told_ = false;
    arriving_ = false;
    update_keyboard_look();
    emit keyboard_state_installed();
}

void MainWindow::forget_keyboard_file() {
    keyboard_file_.reset();
}

void MainWindow::configuration_replaced() {
    refresh_captions();
}

void MainWindow::set_arrow_faces(const char* left_face, const char* right_face) {
    for (const auto& [id, key, face] :
         {std::tuple{MainControl::LeftArrow, skin_keys::main_window::kLeftArrow, left_face},
          std::tuple{MainControl::RightArrow, skin_keys::main_window::kRightArrow, right_face}}) {
        place_with_face(*button(id), skin(), skin_keys::kControls, key, skin_keys::kArrowFaces,
                        face, *pictures_.arrows);
    }
}

void MainWindow::show_key_set(bool flip) {
    show_background(flip ? flip_background_ : nullptr);
}

void MainWindow::select_profile_button(int profile) {
    for (int p = 0; p < kKeyboardProfiles; ++p) {
        button(kProfileButtons[p])->set_selected(p == profile);
    }
}

void MainWindow::keyboard_gone() {
    current_profile_ = -1;
    arriving_ = false;
    close_child_dialogs();
    // No key keeps the focus: it passes over the effect list to the first report-rate button.
    lighting_->effect_box()->setFocus();
    button(MainControl::ReportRate1)->setFocus();
    put_away();
    update_keyboard_look();
}

void MainWindow::set_connected_count(int count) {
    connected_count_ = count;
    update_keyboard_look();
    update_tray_icon(tray_icon_.set_connected(count > 0));
    emit tray_tooltip_changed(tray_tooltip_text());
    if (open_when_arrived_ && !arriving_) {
        open_when_arrived_ = false;
        open_window();
    }
}

void MainWindow::set_indicator(bool on) {
    update_tray_icon(tray_icon_.set_indicator(on));
}

void MainWindow::update_tray_icon(bool changed) {
    if (changed) {
        emit tray_icon_changed(tray_icon_.shown());
    }
}

void MainWindow::switch_bank(int bank) {
    bank_ = bank & 1;
    const auto captions = g_captions(bank_);
    const auto& ids = GButtonControlIds();
    for (int j = 0; j < kGKeyCount; ++j) {
        set_caption(*button(ids[j]), QString::fromStdString(captions[j]), 7,
                    QStringLiteral("Arial"),
                    Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine);
    }
    button(MainControl::BankIndicator)->set_selected(bank_ == 1);
    refresh_captions();
}

void MainWindow::refresh_captions() {
    for (const ButtonCaption& caption :
         assignment_captions(services_.configuration, services_.texts, current_profile_, bank_)) {
        if (ImageButton* key = button(caption.control_id)) {
            QString tooltip = QString::fromStdString(caption.text);
            if (const OwnText* where = place_of(caption.control_id)) {
                tooltip += QLatin1Char('\n') + own_text(*where);
            }
            key->set_tooltip(tooltip, true);
            key->set_selected(caption.assigned);
        }
    }
}

void MainWindow::mark_changed() {
    button(MainControl::Apply)->setEnabled(true);
}

bool MainWindow::has_unapplied_changes() const {
    return button(MainControl::Apply)->isEnabled();
}

void MainWindow::request_lighting_refresh() {
    if (refresh_.request()) {
        QMetaObject::invokeMethod(this, &MainWindow::run_lighting_refresh, Qt::QueuedConnection);
    }
}

void MainWindow::run_lighting_refresh() {
    refresh_.begin();
    if (lighting_refresh_) {
        lighting_refresh_();
    }
}

void MainWindow::keyboard_job_started() {
    busy_bar_->job_started();
}

void MainWindow::keyboard_job_finished() {
    busy_bar_->job_finished();
    if (busy_bar_->logic().running() == 0) {
        // Queued: the job's outcome is taken in first.
        QMetaObject::invokeMethod(
            this, [this] { emit keyboard_jobs_ended(); }, Qt::QueuedConnection);
    }
}

void MainWindow::run_keyboard_job(KeyboardJobs::Work work,
                                  std::function<void(const JobOutcome&)> done) {
    if (jobs_ == nullptr) {
        if (done) {
            done(JobOutcome{});
        }
        return;
    }
    keyboard_job_started();
    jobs_->post(std::move(work), [this, done = std::move(done)](const JobOutcome& outcome) {
        keyboard_job_finished();
        if (done) {
            done(outcome);
        }
    });
}

void MainWindow::tell_outcome(const JobOutcome& outcome, bool changes_kept) {
    switch (outcome.end) {
    case JobEnd::Busy:
        if (busy_box_.isNull() || !busy_box_->isVisible()) {
            const OwnText& text = changes_kept ? outcome_text::kBusyKept : outcome_text::kBusy;
            busy_box_ =
                show_message_box(this, own_text(text).arg(QString::fromStdString(outcome.holder)));
        }
        return;
    case JobEnd::Gone:
        if (changes_kept) {
            show_message(own_text(outcome_text::kGone));
        }
        return;
    case JobEnd::Done:
    case JobEnd::Stopped:
        return;
    }
}

void MainWindow::tell_write_failure(const OwnText& text, const std::filesystem::path& path,
                                    const FileWriteResult& result) {
    show_message(own_text(text)
                     .arg(QString::fromStdString(path.string()))
                     .arg(QString::fromStdString(result.reason())));
}

QString MainWindow::own_text(const OwnText& text) const {
    return QString::fromStdString(services_.language.text(text));
}

QString MainWindow::damaged_file_text(const DamagedEntry& entry,
                                      const std::filesystem::path& file) const {
    return QString::fromStdString(
        tarvenor::damaged_file_text(entry, file.string(), services_.language, services_.texts));
}

void MainWindow::tell_damaged_mirror(const KeyboardState& state) {
    const SetAside& kept = state.damaged_mirror_kept;
    const QString what_became = kept.kept.empty()
                                    ? own_text(outcome_text::kDamagedMirrorNotKept)
                                          .arg(QString::fromStdString(kept.error.message()))
                                    : own_text(outcome_text::kDamagedMirrorKept)
                                          .arg(QString::fromStdString(kept.kept.string()));
    show_message(damaged_file_text(*state.damaged_mirror, state.mirror_path) + QLatin1Char(' ') +
                 what_became);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (swallow_closing_key(event)) {
        return;
    }
    if (is_help_key(*event)) {
        show_help();
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    update_keyboard_look();
}

void MainWindow::hideEvent(QHideEvent* event) {
    SkinnedDialog::hideEvent(event);
    update_keyboard_look();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    put_away();
}

void MainWindow::reject() {
    put_away();
}

} // namespace tarvenor
