#include "ui/main/no_keyboard_look.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QGraphicsOpacityEffect>
#include <QLabel>

namespace tarvenor {
namespace {

constexpr qreal kFadedOpacity = 0.3;

bool is_input_control(const QWidget& widget) {
    return qobject_cast<const QAbstractButton*>(&widget) != nullptr ||
           qobject_cast<const QComboBox*>(&widget) != nullptr ||
           qobject_cast<const QAbstractSlider*>(&widget) != nullptr;
}

} // namespace

NoKeyboardLook::NoKeyboardLook(QWidget& window, const QString& text, QRect drawing,
                               std::function<bool(const QWidget&)> stays_live)
    : window_(window), veil_(new QWidget(&window)), line_(new QLabel(text, &window)),
      stays_live_(std::move(stays_live)) {
    // The keys are cut from the window's own picture, so fading them shows nothing: the drawing
    // is darkened as a whole instead.
    veil_->setObjectName(QStringLiteral("no_keyboard_veil"));
    veil_->setAttribute(Qt::WA_StyledBackground);
    veil_->setStyleSheet(QStringLiteral("background: rgba(16, 16, 20, 170);"));
    veil_->setGeometry(drawing);
    veil_->hide();
    line_->setObjectName(QStringLiteral("no_keyboard_line"));
    line_->setWordWrap(true);
    line_->setAlignment(Qt::AlignCenter);
    line_->setStyleSheet(QStringLiteral(
        "color: white; background: rgba(0, 0, 0, 200); border: 1px solid #808080; padding: 12px;"));
    // Half the drawing's width, as high as the text needs, in the middle of the drawing.
    const int width = drawing.width() / 2;
    line_->setFixedWidth(width);
    line_->setFixedHeight(line_->heightForWidth(width));
    line_->move(drawing.center() - QPoint(width / 2, line_->height() / 2));
    line_->hide();
}

void NoKeyboardLook::set_shown(bool shown) {
    if (shown == shown_) {
        return;
    }
    shown_ = shown;
    if (shown) {
        grey_controls();
        veil_->show();
        veil_->raise();
        line_->show();
        line_->raise();
    } else {
        line_->hide();
        veil_->hide();
        restore_controls();
    }
}

void NoKeyboardLook::grey_controls() {
    // A disabled control passes its focus on along the chain to whichever control is next; the
    // window holds it meanwhile instead.
    focus_ = window_.focusWidget();
    window_.setFocus();
    for (QWidget* child : window_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != veil_ && !child->isWindow() && child->isEnabled() &&
            is_input_control(*child) && !stays_live_(*child)) {
            child->setEnabled(false);
            // The skin draws a disabled button like a normal one: faded, it is seen to be off.
            auto* faded = new QGraphicsOpacityEffect(child);
            faded->setOpacity(kFadedOpacity);
            child->setGraphicsEffect(faded);
            greyed_.emplace_back(child);
        }
    }
}

void NoKeyboardLook::restore_controls() {
    for (const QPointer<QWidget>& child : greyed_) {
        if (!child.isNull()) {
            child->setGraphicsEffect(nullptr);
            child->setEnabled(true);
        }
    }
    greyed_.clear();
    if (!focus_.isNull() && focus_->isEnabled()) {
        focus_->setFocus();
    }
    focus_.clear();
}

} // namespace tarvenor
