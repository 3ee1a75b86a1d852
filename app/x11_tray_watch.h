#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

struct xcb_connection_t;

namespace tarvenor {

// Follows the XEmbed tray manager of an X display: whether some client owns the screen's
// _NET_SYSTEM_TRAY_S<n> selection. The X server tells each change of owner (XFIXES selection
// events) on a connection of our own, read when its socket has data: no polling.
class X11TrayWatch final : public QObject {
    Q_OBJECT
public:
    // `display` as in DISPLAY; a display that does not answer, or lacks XFIXES, has no tray.
    explicit X11TrayWatch(const QByteArray& display, QObject* parent = nullptr);
    ~X11TrayWatch() override;
    X11TrayWatch(const X11TrayWatch&) = delete;
    X11TrayWatch& operator=(const X11TrayWatch&) = delete;

    bool present() const { return present_; }

signals:
    void changed(bool present);

private:
    bool follow_selection(int screen);
    void read_events();

    xcb_connection_t* connection_ = nullptr;
    std::unique_ptr<QSocketNotifier> readable_;
    unsigned char selection_event_ = 0;
    bool present_ = false;
};

} // namespace tarvenor
