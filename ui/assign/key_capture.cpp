#include "ui/assign/key_capture.h"

#include <QApplication>
#include <QKeyEvent>

namespace tarvenor {
namespace {

// X11 and Wayland both number keys as evdev codes shifted by the 8 codes X reserves.
constexpr quint32 kXKeyCodeOffset = 8;

KeyStroke stroke_of_event(const QKeyEvent& event) {
    return keystroke_of(event.nativeScanCode(), event.type() == QEvent::KeyRelease,
                        event.isAutoRepeat());
}

} // namespace

KeyStroke keystroke_of(quint32 native_scan_code, bool release, bool auto_repeat) {
    KeyStroke stroke;
    stroke.release = release;
    stroke.auto_repeat = auto_repeat;
    if (native_scan_code > kXKeyCodeOffset) {
        const auto native =
            native_key_from_evdev(static_cast<int>(native_scan_code - kXKeyCodeOffset));
        stroke.code = native ? key_code_from_native(*native) : KeyCode{0};
    }
    return stroke;
}

KeyCapture::KeyCapture(QWidget& grabber, Handler handler)
    : grabber_(&grabber), handler_(std::move(handler)) {
    qApp->installEventFilter(this);
    grab();
}

KeyCapture::~KeyCapture() {
    qApp->removeEventFilter(this);
    if (!grabber_.isNull() && QWidget::keyboardGrabber() == grabber_.data()) {
        grabber_->releaseKeyboard();
    }
}

void KeyCapture::grab() {
    if (!grabber_.isNull() && grabber_->isVisible()) {
        grabber_->grabKeyboard();
    }
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    auto* key = dynamic_cast<QKeyEvent*>(event);
    if (key == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    if (type == QEvent::ShortcutOverride) {
        // Claimed, so that no shortcut or mnemonic acts on a key the press itself will take; the
        // press is judged when it arrives.
        if (stroke_of_event(*key).code != 0) {
            key->accept();
        }
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return false;
    }
    return handler_(stroke_of_event(*key)) == KeyVerdict::Swallow;
}

} // namespace tarvenor
