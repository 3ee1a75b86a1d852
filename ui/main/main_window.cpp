#include "ui/main/main_window.h"

#include "ui/logic/assignment_captions.h"
#include "ui/logic/g_keys.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/profile_controls.h"
#include "ui/logic/skin_keys.h"
#include "ui/main/about_dialog.h"
#include "ui/main/busy_bar.h"
#include "ui/main/lighting_panel.h"
#include "ui/skin/placement.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>

namespace tarvenor {
namespace {

QString text_of(const TextTable& texts, TextKey key) {
    return QString::fromStdString(texts.text(key));
}

void show_message_box(const QString& text) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("message"));
    box->show();
}

} // namespace

MainWindow::MainWindow(const std::filesystem::path& skin_folder, MainWindowServices services)
    : SkinnedDialog(nullptr, skin_folder / "Main.ini", skin_folder), services_(std::move(services)),
      message_(show_message_box),
      open_url_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("main"));
    apply_skin();
    pictures_ = MainPictures::load(skin_folder, background().size());
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
    lighting_refresh_ = [this] { lighting_->logic().read_lighting(false); };
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
        open_url_(QUrl(QString::fromStdString(skin().get(skin_keys::kScreen, skin_keys::kLink))));
        return;
    case MainControl::VendorLink:
        open_url_(QUrl(QString::fromLatin1(kVendorAddress)));
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
    const StateSurface* over = &pictures_.over;
    clicked->set_face_images({over, over, &pictures_.down, &pictures_.normal, over});
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
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::put_away() {
    if (hide_action(services_.tray_available) == HideAction::Hide) {
        hide();
    } else {
        showMinimized();
    }
}

void MainWindow::show_about() {
    if (about_.isNull()) {
        about_ = new AboutDialog(
            this, services_.language,
            QString::fromStdString(skin().get(skin_keys::kScreen, skin_keys::kLink)));
    }
    about_->show();
    about_->raise();
}

void MainWindow::show_help() {
    open_url_(QUrl::fromLocalFile(QString::fromStdString(services_.help_file.string())));
}

void MainWindow::show_message(const QString& text) {
    message_(text);
}

void MainWindow::add_child_dialog(QDialog* dialog) {
    children_.emplace_back(dialog);
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

void MainWindow::install_keyboard_state(const KeyboardState& state) {
    current_profile_ = state.current_profile;
    if (current_profile_ >= 0 && current_profile_ < kKeyboardProfiles) {
        select_profile_button(current_profile_);
        panel_profile_ = current_profile_;
    }
    button(MainControl::Apply)->setEnabled(false);
    refresh_captions();
    lighting_->logic().keyboard_arrived(current_profile_);
    emit keyboard_state_installed();
}

void MainWindow::configuration_replaced() {
    refresh_captions();
}

void MainWindow::set_arrow_faces(const char* left_face, const char* right_face) {
    for (const auto& [id, key, face] :
         {std::tuple{MainControl::LeftArrow, skin_keys::main_window::kLeftArrow, left_face},
          std::tuple{MainControl::RightArrow, skin_keys::main_window::kRightArrow, right_face}}) {
        place_with_face(*button(id), skin(), skin_keys::kControls, key, skin_keys::kArrowFaces,
                        face, pictures_.arrows);
    }
}

void MainWindow::select_profile_button(int profile) {
    for (int p = 0; p < kKeyboardProfiles; ++p) {
        button(kProfileButtons[p])->set_selected(p == profile);
    }
}

void MainWindow::keyboard_gone() {
    current_profile_ = -1;
    close_child_dialogs();
    put_away();
}

void MainWindow::set_connected_count(int count) {
    connected_count_ = count;
    update_tray_icon(tray_icon_.set_connected(count > 0));
    emit tray_tooltip_changed(tray_tooltip_text());
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
            key->set_tooltip(QString::fromStdString(caption.text), true);
            key->set_selected(caption.assigned);
        }
    }
}

void MainWindow::mark_changed() {
    button(MainControl::Apply)->setEnabled(true);
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
}

void MainWindow::run_keyboard_job(KeyboardJobs::Job job, std::function<void()> done) {
    if (jobs_ == nullptr) {
        return;
    }
    keyboard_job_started();
    jobs_->post([this, job = std::move(job), done = std::move(done)](CommandSet& commands) {
        job(commands);
        QMetaObject::invokeMethod(
            this,
            [this, done] {
                keyboard_job_finished();
                if (done) {
                    done();
                }
            },
            Qt::QueuedConnection);
    });
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

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    put_away();
}

void MainWindow::reject() {
    put_away();
}

} // namespace tarvenor
