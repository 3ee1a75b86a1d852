#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <filesystem>
#include <memory>

namespace tarvenor {

// The program's icon in the notification area: its image follows the keyboard, a double click
// (a StatusNotifierItem host's activation, which has no double click) opens the window, the
// right-click menu offers Open, About and Exit in the language in force.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kTooltipCapacity = 127;

    TrayIcon(std::filesystem::path skin_folder, std::filesystem::path language_file);

    // Shows the icon with its tooltip in the notification area, which the caller knows is there.
    // The toolkit's icon is made on the first call: it picks between a StatusNotifierItem and an
    // X11 tray once, when it is made, so it must not be made before a tray exists.
    // `status_notifier_item`: the icon is made while a StatusNotifierItem host is there.
    void create(const QString& tooltip, bool status_notifier_item);
    void set_icon(int icon_id);
    void set_tooltip(const QString& tooltip);
    void remove();

    bool created() const { return created_; }
    // Whether an activation of the icon opens the window: a double click, or a host's activation
    // of a StatusNotifierItem (a single click on X11 does nothing).
    static bool opens_window(QSystemTrayIcon::ActivationReason reason, bool status_notifier_item);
    int icon_id() const { return icon_id_; }
    QString tooltip() const { return tooltip_; }
    QMenu& menu() { return menu_; }
    // Puts the texts of the language chosen in the language file now on the menu items.
    void fill_menu();

signals:
    void open_requested();
    void about_requested();
    void exit_requested();

private:
    void on_activated(QSystemTrayIcon::ActivationReason reason);

    std::filesystem::path skin_folder_;
    std::filesystem::path language_file_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QString tooltip_;
    QMenu menu_;
    QAction* open_ = nullptr;
    QAction* about_ = nullptr;
    QAction* exit_ = nullptr;
    bool created_ = false;
    bool status_notifier_item_ = false;
    int icon_id_ = 128;
};

} // namespace tarvenor
