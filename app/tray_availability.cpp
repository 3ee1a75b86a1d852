#include "app/tray_availability.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace tarvenor {
namespace {

// The session's bus; a connection to nothing when the session has none, rather than a bus that
// the D-Bus library would start for the occasion (it would know of no tray).
QDBusConnection session_bus() {
    const QString user_bus = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") || !QFileInfo::exists(user_bus))) {
        return QDBusConnection(QStringLiteral("tarvenor-no-session-bus"));
    }
    return QDBusConnection::sessionBus();
}

} // namespace

TrayAvailability::TrayAvailability(const QDBusConnection& bus, const QByteArray& x11_display,
                                   QObject* parent)
    : QObject(parent), status_notifier_(bus) {
    connect(&status_notifier_, &StatusNotifierWatch::changed, this, &TrayAvailability::update);
    if (!x11_display.isEmpty()) {
        x11_ = std::make_unique<X11TrayWatch>(x11_display);
        connect(x11_.get(), &X11TrayWatch::changed, this, &TrayAvailability::update);
    }
    available_ = offered();
}

std::unique_ptr<TrayAvailability> TrayAvailability::of_session() {
    const bool on_x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    return std::make_unique<TrayAvailability>(session_bus(),
                                              on_x11 ? qgetenv("DISPLAY") : QByteArray());
}

bool TrayAvailability::offered() const {
    return status_notifier_.host() || (x11_ && x11_->present());
}

void TrayAvailability::update() {
    const bool available = offered();
    if (available != available_) {
        available_ = available;
        emit changed(available);
    }
}

} // namespace tarvenor
