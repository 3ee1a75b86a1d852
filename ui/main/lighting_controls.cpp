#include "ui/main/lighting_controls.h"

#include "ui/skin/keyboard_focus.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tarvenor {

namespace {

// Stretched over the whole widget; nothing before a picture was given.
void draw_picture(QPainter& painter, const QWidget& widget, const SkinPicture* picture) {
    if (picture != nullptr) {
        draw_skin_picture(painter, QRectF(widget.rect()), *picture,
                          QRectF(QPointF(0, 0), QSizeF(picture->size())));
    }
}

} // namespace

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    take_focus_from_tab_only(*this);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::set_picture(const SkinPicture& picture) {
    picture_ = &picture;
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    draw_picture(painter, *this, picture_);
    if (shows_focus_frame(*this)) {
        draw_focus_frame(painter, rect());
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (!click_on_enter(*this, *event)) {
        QAbstractButton::keyPressEvent(event);
    }
}

BitmapSlider::BitmapSlider(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void BitmapSlider::set_picture(const SkinPicture& picture) {
    picture_ = &picture;
    update();
}

void BitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    draw_picture(painter, *this, picture_);
    if (shows_focus_frame(*this)) {
        draw_focus_frame(painter, rect());
    }
}

void BitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        follow_mouse(event->position().toPoint().x());
    }
}

void BitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        follow_mouse(event->position().toPoint().x());
    }
}

void BitmapSlider::follow_mouse(int x) {
    const double step = static_cast<double>(std::max(width(), 1)) / (kPositions - 1);
    move_to(static_cast<int>(std::lround(x / step)));
}

void BitmapSlider::wheelEvent(QWheelEvent* event) {
    // Turning the wheel up moves the knob right, as on the platform's own sliders.
    wheel_rest_ += event->angleDelta().y();
    const int notches = wheel_rest_ / kWheelStep;
    wheel_rest_ -= notches * kWheelStep;
    if (notches != 0) {
        move_to(position_ + notches);
    }
    event->accept();
}

void BitmapSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        move_to(position_ - 1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        move_to(position_ + 1);
        break;
    case Qt::Key_Home:
        move_to(0);
        break;
    case Qt::Key_End:
        move_to(kPositions - 1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void BitmapSlider::move_to(int position) {
    position = std::clamp(position, 0, kPositions - 1);
    if (position != position_) {
        position_ = position;
        emit position_changed(position);
    }
}

} // namespace tarvenor
