#pragma once

#include "app/focus_follower.h"

#include <QAction>
#include <QMenu>

#include <filesystem>

namespace tarvenor {

// What the tray shows of the profiles that follow the application in front: a menu item that
// pauses them and one that opens their rules, and a tooltip line naming the active profile and
// why it is active.
class FollowTrayItems final : public QObject {
    Q_OBJECT
public:
    FollowTrayItems(QMenu& menu, std::filesystem::path language_file, FocusFollower& follower);

    // The tooltip: the connection's text, then the profile's line.
    QString tooltip(const QString& connection_text) const;

signals:
    void rules_requested();

private:
    void fill();

    std::filesystem::path language_file_;
    FocusFollower& follower_;
    QAction* pause_ = nullptr;
    QAction* rules_ = nullptr;
};

} // namespace tarvenor
