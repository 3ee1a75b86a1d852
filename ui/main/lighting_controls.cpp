#include "ui/main/lighting_controls.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tarvenor {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::set_picture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), picture_);
}

BitmapSlider::BitmapSlider(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
}

void BitmapSlider::set_picture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void BitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), picture_);
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
    const int position = std::clamp(static_cast<int>(std::lround(x / step)), 0, kPositions - 1);
    if (position != position_) {
        position_ = position;
        emit position_changed(position);
    }
}

} // namespace tarvenor
