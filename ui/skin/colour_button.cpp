#include "ui/skin/colour_button.h"

#include "ui/skin/colour_palette.h"
#include "ui/skin/keyboard_focus.h"

#include <QKeyEvent>

#include <QPainter>
#include <QPolygon>

namespace tarvenor {

namespace {

const QColor kDropDownColour(148, 146, 139);

} // namespace

ColourButton::ColourButton(QWidget* parent) : QAbstractButton(parent) {
    take_focus_from_tab_only(*this);
    setMouseTracking(true);
    connect(this, &QAbstractButton::clicked, this, &ColourButton::open_palette);
}

void ColourButton::set_colour(const QColor& colour) {
    colour_ = colour;
    update();
}

QColor ColourButton::colour() const {
    return colour_.isValid() ? colour_ : automatic_;
}

void ColourButton::set_automatic_colour(const QColor& colour) {
    automatic_ = colour;
    update();
}

// Edges as the platform's exclusive rectangles give them: right = width, bottom = height.
QRect ColourButton::swatch_rect() const {
    const int right = width() + 1;
    return QRect(QPoint(-1, -1), QPoint(right / 2 + 5 - 1, height()));
}

QRect ColourButton::drop_down_rect() const {
    return QRect(QPoint(width() / 2 + 3, -2), QPoint(width(), height() + 1));
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect swatch = swatch_rect();
    const QColor frame = palette().color(QPalette::Button);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    if (isEnabled()) {
        painter.fillRect(swatch.adjusted(1, 1, -1, -1), colour());
    }
    const QRect drop = drop_down_rect();
    painter.setPen(kDropDownColour);
    painter.setBrush(kDropDownColour);
    painter.drawRect(drop.adjusted(0, 0, -1, -1));

    const int r = width();
    const int m = height() / 2;
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawPolygon(
        QPolygon({QPoint(r - 11, m - 2), QPoint(r - 5, m - 2), QPoint(r - 8, m + 1)}));
    if (shows_focus_frame(*this)) {
        draw_focus_frame(painter, rect());
    }
}

void ColourButton::keyPressEvent(QKeyEvent* event) {
    if (!click_on_enter(*this, *event)) {
        QAbstractButton::keyPressEvent(event);
    }
}

void ColourButton::leaveEvent(QEvent* event) {
    update();
    QAbstractButton::leaveEvent(event);
}

void ColourButton::open_palette() {
    auto* popup = new ColourPalettePopup(colour(), other_colour_text_, this);
    connect(popup, &ColourPalettePopup::colour_chosen, this, [this](QColor chosen) {
        set_colour(chosen);
        emit colour_chosen(chosen);
    });
    connect(popup, &QObject::destroyed, this, [this] { update(); });
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
}

} // namespace tarvenor
