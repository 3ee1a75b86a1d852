#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <filesystem>

namespace tarvenor {

// The program's icon in the notification area: its image follows the keyboard, a double click
// opens the window, the right-click menu offers Open, About and Exit in the language in force.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kTooltipCapacity = 127;

    TrayIcon(std::filesystem::path skin_folder, std::filesystem::path language_file);

    static bool available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

    // Adds the icon (128) with its tooltip; false, and nothing shown, without a notification area.
    bool create(const QString& tooltip);
    void set_icon(int icon_id);
    void set_tooltip(const QString& tooltip);
    void remove();

    bool created() const { return created_; }
    int icon_id() const { return icon_id_; }
    QString tooltip() const { return tray_.toolTip(); }
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
    QSystemTrayIcon tray_;
    QMenu menu_;
    QAction* open_ = nullptr;
    QAction* about_ = nullptr;
    QAction* exit_ = nullptr;
    bool created_ = false;
    int icon_id_ = 128;
};

} // namespace tarvenor
