#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;

namespace tarvenor {

// The window without a keyboard: its keyboard controls greyed, the keyboard drawing darkened and a
// line over it saying what to do. The controls greyed here get back the state they had, so a
// control disabled for its own reasons stays disabled, and the focus a greyed control had.
class NoKeyboardLook {
public:
    // `stays_live` names the input controls that keep working without a keyboard.
    NoKeyboardLook(QWidget& window, const QString& text, QRect drawing,
                   std::function<bool(const QWidget&)> stays_live);

    void set_shown(bool shown);
    bool shown() const { return shown_; }
    const QLabel& line() const { return *line_; }

private:
    void grey_controls();
    void restore_controls();

    QWidget& window_;
    QWidget* veil_ = nullptr;
    QLabel* line_ = nullptr;
    std::function<bool(const QWidget&)> stays_live_;
    std::vector<QPointer<QWidget>> greyed_;
    // The greyed control that had the focus; it gets it back.
    QPointer<QWidget> focus_;
    bool shown_ = false;
};

} // namespace tarvenor
