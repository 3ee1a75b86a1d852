#include "ui/profile/profile_manager_dialog.h"

#include "model/profile_file.h"
#include "ui/logic/skin_keys.h"
#include "ui/skin/placement.h"
#include "ui/skin/skin_label.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

namespace tarvenor {
namespace {

// An image button: its skin key and the language key of its caption.
struct ButtonPlace {
    ProfileManagerControl id;
    const char* key;
    const char* caption;
};
constexpr ButtonPlace kButtons[] = {
    {ProfileManagerControl::Add, skin_keys::profile::kAdd, "PROFILE_ADD"},
    {ProfileManagerControl::Load, skin_keys::profile::kLoad, "PROFILE_LOAD"},
    {ProfileManagerControl::Delete, skin_keys::profile::kDelete, "PROFILE_DELETE"},
    {ProfileManagerControl::Ok, skin_keys::kOk, "PROFILE_OK"},
    {ProfileManagerControl::Cancel, skin_keys::kCancel, "PROFILE_CANCLE"},
    {ProfileManagerControl::Apply, skin_keys::kApply, "PROFILE_APPLY"},
};

QString folder_text(const ProfileRow& row) {
    return QString::fromStdString(row.folder);
}

} // namespace

ProfileManagerDialog::ProfileManagerDialog(QWidget* parent,
                                           const std::filesystem::path& skin_folder,
                                           ProfileManagerHost& host)
    : SkinnedDialog(parent, skin_folder / "Profile.ini", skin_folder), host_(host) {
    setObjectName(QStringLiteral("profile_manager"));
    const QString title =
        QString::fromStdString(host_.language().text(skin_keys::profile::kTitleLabel.text));
    setWindowTitle(title);
    apply_skin();
    normal_ = &skin_picture("Profile_normal.jpg");
    over_ = &skin_picture("Profile_over.jpg");
    down_ = &skin_picture("Profile_down.jpg");
    place_buttons();
    (new SkinLabel(*this, skin(), skin_keys::profile::kTitleLabel))->show_text(title);

    view_ = new QTreeWidget(this);
    view_->setObjectName(QStringLiteral("profile_list"));
    view_->setColumnCount(3);
    QStringList captions;
    for (const OwnText& column : kColumnTexts) {
        captions << QString::fromStdString(host_.language().text(column));
    }
    view_->setHeaderLabels(captions);
    view_->setColumnWidth(0, 60);
    view_->setColumnWidth(1, 120);
    view_->setColumnWidth(2, 230);
    view_->setRootIsDecorated(false);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Grid lines by item borders; with its own item style the view no longer takes the selected
    // row's colours from the palette, so they are given here: without them a selected row (a
    // double click selects one) drew its texts in the colour of its background.
    view_->setStyleSheet(
        QStringLiteral("QTreeView::item { border: 1px solid #d0d0d0; }"
                       "QTreeView::item:selected { background: #2f6fcf; color: #ffffff; }"));
    place_control(*view_, skin(), skin_keys::kControls, skin_keys::profile::kList);
    connect(view_, &QTreeWidget::itemChanged, this, &ProfileManagerDialog::on_item_changed);
}

ImageButton* ProfileManagerDialog::button(ProfileManagerControl control_id) const {
    const auto found = buttons_.find(control_id);
    return found == buttons_.end() ? nullptr : found->second;
}

void ProfileManagerDialog::place_buttons() {
    const FaceImages faces{normal_, over_, down_, down_, normal_};
    for (const ButtonPlace& place : kButtons) {
        auto* control = new ImageButton(this);
        control->setObjectName(QString::fromLatin1(place.key));
        place_image_control(*control, skin(), skin_keys::kControls, place.key, faces);
        control->setText(QString::fromStdString(host_.language().text(place.caption)));
        control->set_text_style(true, 9, QStringLiteral("Tahoma"), Qt::white,
                                Qt::AlignCenter | Qt::TextSingleLine);
        buttons_[place.id] = control;
    }
    connect(button(ProfileManagerControl::Add), &QAbstractButton::clicked, this,
            &ProfileManagerDialog::add_row);
    connect(button(ProfileManagerControl::Load), &QAbstractButton::clicked, this,
            &ProfileManagerDialog::load_row);
    connect(button(ProfileManagerControl::Delete), &QAbstractButton::clicked, this,
            &ProfileManagerDialog::delete_row);
    connect(button(ProfileManagerControl::Apply), &QAbstractButton::clicked, this,
            &ProfileManagerDialog::apply);
    connect(button(ProfileManagerControl::Ok), &QAbstractButton::clicked, this, [this] {
        apply();
        reject();
    });
    connect(button(ProfileManagerControl::Cancel), &QAbstractButton::clicked, this,
            &ProfileManagerDialog::reject);
}

int ProfileManagerDialog::exec() {
    fill();
    ++open_count_;
    return SkinnedDialog::exec();
}

void ProfileManagerDialog::keyPressEvent(QKeyEvent* event) {
    if (is_help_key(*event)) {
        host_.show_help(this);
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

void ProfileManagerDialog::reject() {
    list_.clear_pending();
    if (open_count_ > 0) {
        --open_count_;
    }
    SkinnedDialog::reject();
}

void ProfileManagerDialog::close_if_open() {
    if (is_open()) {
        reject();
    }
}

void ProfileManagerDialog::fill() {
    list_.fill(host_.storage(), host_.current_profile());
    show_rows();
}

void ProfileManagerDialog::show_active(int profile) {
    list_.show_active(profile);
    show_rows();
}

void ProfileManagerDialog::show_rows() {
    showing_rows_ = true;
    const int selected = view_->indexOfTopLevelItem(view_->currentItem());
    view_->clear();
    const auto& rows = list_.rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        auto* item = new QTreeWidgetItem(view_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0,
                            static_cast<int>(r) == list_.checked() ? Qt::Checked : Qt::Unchecked);
        item->setText(1, QString::fromStdString(rows[r].name));
        item->setText(2, folder_text(rows[r]));
    }
    if (selected >= 0 && selected < view_->topLevelItemCount()) {
        view_->setCurrentItem(view_->topLevelItem(selected));
    }
    showing_rows_ = false;
    set_pending_look();
}

void ProfileManagerDialog::set_pending_look() {
    button(ProfileManagerControl::Apply)->setEnabled(list_.pending());
}

void ProfileManagerDialog::on_item_changed(QTreeWidgetItem* item, int column) {
    if (showing_rows_ || column != 0) {
        return;
    }
    const int row = view_->indexOfTopLevelItem(item);
    const ProfileList::Check check = list_.set_checked(row, item->checkState(0) == Qt::Checked);
    if (check == ProfileList::Check::BeyondProfiles) {
        host_.show_message(QString::fromStdString(host_.language().text(kBeyondProfilesText)));
    }
    // Redrawn from the list: one check mark at most, never on a row beyond the third.
    QMetaObject::invokeMethod(this, &ProfileManagerDialog::show_rows, Qt::QueuedConnection);
}

void ProfileManagerDialog::add_row() {
    host_.storage().ensure_user_folder();
    const QString initial = QString::fromStdString(host_.storage().folder().string()) +
                            QString::fromStdString(host_.texts().text(TextKey::ProfileNew))
                                .replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString chosen = host_.choose_file(ProfileFilePurpose::AddProfile, initial);
    if (chosen.isEmpty()) {
        return;
    }
    // A file that cannot be written still gets its row.
    write_default_file(chosen.toStdString());
    list_.append(chosen.toStdString());
    show_rows();
}

void ProfileManagerDialog::load_row() {
    host_.storage().ensure_user_folder();
    const QString chosen =
        host_.choose_file(ProfileFilePurpose::LoadProfile,
                          QString::fromStdString((host_.storage().folder() / "*.tvp").string()));
    if (chosen.isEmpty()) {
        return;
    }
    list_.append(chosen.toStdString());
    show_rows();
}

void ProfileManagerDialog::delete_row() {
    const int row = view_->indexOfTopLevelItem(view_->currentItem());
    if (const std::optional<std::string> file = list_.file_of(row);
        file && !host_.ask(QString::fromStdString(host_.language().text(kDeleteRowText))
                               .arg(QString::fromStdString(*file)))) {
        return;
    }
    const int next = list_.remove(row);
    show_rows();
    if (next >= 0) {
        view_->setCurrentItem(view_->topLevelItem(next));
    }
}

void ProfileManagerDialog::apply() {
    if (const FileWriteResult stored = list_.store(host_.settings()); !stored) {
        host_.tell_settings_failure(stored);
    }
    host_.choose_profile(list_.chosen_profile());
    list_.clear_pending();
    set_pending_look();
}

} // namespace tarvenor
