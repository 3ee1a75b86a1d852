#include "ui/assign/key_capture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>

namespace tarvenor {
namespace {

KeyStroke stroke_of_event(const QKeyEvent& event) {
    return keystroke_of(event.nativeScanCode(), event.type() == QEvent::KeyRelease,
                        event.isAutoRepeat(), event.modifiers().testFlag(Qt::ControlModifier));
}

} // namespace

// X11 and Wayland both hand over the X key code: the evdev code plus 8.
KeyStroke keystroke_of(quint32 native_scan_code, bool release, bool auto_repeat,
                       bool control_down) {
    KeyStroke stroke;
    stroke.release = release;
    stroke.auto_repeat = auto_repeat;
    if (native_scan_code > 0 && native_scan_code <= 255) {
        const auto native =
            native_key_from_xkb_keycode(static_cast<int>(native_scan_code), control_down);
        stroke.code = native ? key_code_from_native(*native) : KeyCode{0};
    }
    return stroke;
}

KeyCapture::KeyCapture(QWidget& grabber, Handler handler, bool grab_keyboard)
    : grabber_(&grabber), handler_(std::move(handler)), grabs_(grab_keyboard) {
    qApp->installEventFilter(this);
    grab();
}

KeyCapture::~KeyCapture() {
    qApp->removeEventFilter(this);
    if (!grabber_.isNull() && QWidget::keyboardGrabber() == grabber_.data()) {
        grabber_->releaseKeyboard();
    }
}

bool KeyCapture::keys_only_while_focused() {
    const QString platform = QGuiApplication::platformName();
    return platform.startsWith(QLatin1String("wayland")) || platform == QLatin1String("cocoa");
}

void KeyCapture::grab() {
    if (grabs_ && !grabber_.isNull() && grabber_->isVisible()) {
        grabber_->grabKeyboard();
    }
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride) {
        // Claimed, so that no shortcut or mnemonic acts on a key the press itself will take; the
        // press is judged when it arrives.
        auto* key = static_cast<QKeyEvent*>(event);
        if (stroke_of_event(*key).code != 0) {
            key->accept();
        }
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return QObject::eventFilter(watched, event);
    }
    return handler_(stroke_of_event(*static_cast<QKeyEvent*>(event))) == KeyVerdict::Swallow;
}

} // namespace tarvenor
