#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

namespace tarvenor {

// Follows the StatusNotifierItem host of a session bus (swaybar, KDE Plasma, GNOME with the
// AppIndicator extension): whether org.kde.StatusNotifierWatcher has an owner with a host
// registered. The first answer is waited for, so that the program starts knowing; later ones
// come from the bus's own signals, without polling and without blocking the window.
class StatusNotifierWatch final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kService = "org.kde.StatusNotifierWatcher";
    static constexpr const char* kPath = "/StatusNotifierWatcher";

    explicit StatusNotifierWatch(const QDBusConnection& bus, QObject* parent = nullptr);

    bool host() const { return host_; }

signals:
    void changed(bool host);

private slots:
    // Asks the watcher again; the answer comes later.
    void ask();

private:
    QDBusMessage host_question() const;
    void set_host(bool host);

    QDBusConnection bus_;
    QDBusServiceWatcher owner_watch_;
    bool host_ = false;
    // Only the newest question's answer counts: answers may arrive in another order.
    quint64 asked_ = 0;
};

} // namespace tarvenor
