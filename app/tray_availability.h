#pragma once

#include "app/status_notifier_watch.h"
#include "app/x11_tray_watch.h"

#include <QObject>

#include <memory>

namespace tarvenor {

// Whether the session offers a notification area for the program's icon, now and as hosts come
// and go: a StatusNotifierItem host on the session bus (X11 and Wayland), or, for a program on
// X11, an XEmbed tray manager on its display.
class TrayAvailability final : public QObject {
    Q_OBJECT
public:
    // `x11_display` is the display the program runs on, empty when it does not run on X11.
    TrayAvailability(const QDBusConnection& bus, const QByteArray& x11_display,
                     QObject* parent = nullptr);

    // For the program itself: its session bus, and its X display when Qt runs on X11.
    static std::unique_ptr<TrayAvailability> of_session();

    bool available() const { return available_; }
    // Whether the tray is a StatusNotifierItem host (else an X11 tray, when available).
    bool status_notifier_host() const { return status_notifier_.host(); }

signals:
    void changed(bool available);

private:
    bool offered() const;
    void update();

    StatusNotifierWatch status_notifier_;
    std::unique_ptr<X11TrayWatch> x11_;
    bool available_ = false;
};

} // namespace tarvenor
