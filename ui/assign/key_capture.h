#pragma once

#include "model/native_keys.h"
#include "ui/logic/key_stroke.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace tarvenor {

// While it lives, every keystroke of the application goes to `handler` before any widget sees
// it. With `grab_keyboard`, the keyboard is also grabbed by `grabber`, so that keys the desktop
// would act on (the Win keys) reach us first, and keys meant for other programs too; without it,
// keys reach us only while one of our windows has the focus, and the desktop keeps its own keys
// (media keys, its shortcuts). Destroying the capture removes the filter and releases the grab,
// whichever way its owner ends.
class KeyCapture final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<KeyVerdict(const KeyStroke&)>;

    KeyCapture(QWidget& grabber, Handler handler, bool grab_keyboard);
    ~KeyCapture() override;
    KeyCapture(const KeyCapture&) = delete;
    KeyCapture& operator=(const KeyCapture&) = delete;

    bool grabs() const { return grabs_; }
    // Whether this platform gives the program keys only while one of its windows has the focus,
    // whatever it grabs (Wayland, macOS); X11 and Windows let a grab take the desktop's keys.
    static bool keys_only_while_focused();
    // Takes the grab (again), when this capture grabs, once the grabber is on screen: a grab
    // needs a mapped window.
    void grab();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> grabber_;
    Handler handler_;
    bool grabs_;
};

// The keystroke a key event of this platform stands for; code 0 when no key of the keyboard
// produces it.
KeyStroke keystroke_of(quint32 native_scan_code, bool release, bool auto_repeat,
                       bool control_down = false);

} // namespace tarvenor
