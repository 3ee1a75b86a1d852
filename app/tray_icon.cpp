#include "app/tray_icon.h"

#include "model/text_table.h"

#include <QIcon>

namespace tarvenor {

TrayIcon::TrayIcon(std::filesystem::path skin_folder, std::filesystem::path language_file)
    : skin_folder_(std::move(skin_folder)), language_file_(std::move(language_file)) {
    open_ = menu_.addAction(QString(), this, &TrayIcon::open_requested);
    about_ = menu_.addAction(QString(), this, &TrayIcon::about_requested);
    exit_ = menu_.addAction(QString(), this, &TrayIcon::exit_requested);
    menu_.setDefaultAction(open_);
    connect(&menu_, &QMenu::aboutToShow, this, &TrayIcon::fill_menu);
    fill_menu();
}

void TrayIcon::create(const QString& tooltip, bool status_notifier_item) {
    if (!tray_) {
        status_notifier_item_ = status_notifier_item;
        tray_ = std::make_unique<QSystemTrayIcon>();
        tray_->setContextMenu(&menu_);
        connect(tray_.get(), &QSystemTrayIcon::activated, this, &TrayIcon::on_activated);
    }
    set_icon(icon_id_);
    set_tooltip(tooltip);
    tray_->show();
    created_ = true;
}

void TrayIcon::set_icon(int icon_id) {
    icon_id_ = icon_id;
    const std::filesystem::path file = skin_folder_ / ("icon" + std::to_string(icon_id) + ".png");
    if (tray_) {
        tray_->setIcon(QIcon(QString::fromStdString(file.string())));
    }
}

void TrayIcon::set_tooltip(const QString& tooltip) {
    tooltip_ = tooltip.left(kTooltipCapacity);
    if (tray_) {
        tray_->setToolTip(tooltip_);
    }
}

void TrayIcon::remove() {
    if (created_) {
        tray_->hide();
        created_ = false;
    }
}

void TrayIcon::fill_menu() {
    const LanguageFile language = LanguageFile::load(language_file_);
    open_->setText(QString::fromStdString(language.text("MENU_11")));
    about_->setText(QString::fromStdString(language.text("MENU_22")));
    exit_->setText(QString::fromStdString(language.text("MENU_33")));
}

bool TrayIcon::opens_window(QSystemTrayIcon::ActivationReason reason, bool status_notifier_item) {
    return reason == QSystemTrayIcon::DoubleClick ||
           (status_notifier_item && reason == QSystemTrayIcon::Trigger);
}

void TrayIcon::on_activated(QSystemTrayIcon::ActivationReason reason) {
    // The menu comes with the right button.
    if (opens_window(reason, status_notifier_item_)) {
        emit open_requested();
    }
}

} // namespace tarvenor
