#include "ui/skin/image_button.h"

#include "ui/skin/keyboard_focus.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QToolTip>

#include <algorithm>

namespace tarvenor {

namespace {

// Outline mode keeps its value within this bound while it is on.
constexpr int kOutlineValueLimit = 100;
constexpr int kOutlinePenWidth = 2;
// How long a popped-up tooltip stays, as the platform's automatic delays derive it.
constexpr int kTooltipShowFactor = 10;
constexpr int kDisabledTextAlphaPercent = 40;

} // namespace

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    take_focus_from_tab_only(*this);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ImageButton::set_faces(QPoint origin, const FaceImages& faces, bool redraw) {
    origin_ = origin;
    set_face_images(faces, redraw);
}

void ImageButton::set_face_images(const FaceImages& faces, bool redraw) {
    faces_ = faces;
    hover_ = false;
    tracking_ = false;
    setDown(false);
    if (redraw) {
        this->redraw();
    }
}

void ImageButton::set_selected(bool selected, bool redraw) {
    selected_ = selected;
    if (redraw) {
        this->redraw();
    }
}

void ImageButton::redraw() {
    update();
}

void ImageButton::set_text_style(bool on, int points, const QString& face, const QColor& colour,
                                 int format) {
    text_on_ = on;
    font_points_ = points;
    font_face_ = face;
    text_colour_ = colour;
    text_format_ = format;
    redraw();
}

void ImageButton::set_text_offsets(const QMargins& offsets) {
    text_offsets_ = offsets;
    redraw();
}

void ImageButton::set_text_rotation(int escapement, bool rotated) {
    escapement_ = escapement;
    rotated_ = rotated;
    redraw();
}

void ImageButton::set_tooltip(const QString& text, bool active) {
    if (text.isEmpty()) {
        return;
    }
    tooltip_created_ = true;
    tooltip_text_ = text;
    tooltip_active_ = active;
}

void ImageButton::set_outline(const QColor& colour, int value, bool on) {
    outline_colour_ = colour;
    outline_on_ = on;
    outline_value_ = on ? std::min(value, kOutlineValueLimit) : value;
    redraw();
}

void ImageButton::set_draw_callback(DrawCallback callback) {
    draw_callback_ = std::move(callback);
}

FaceSlot ImageButton::current_face() const {
    return choose_face({isEnabled(), isDown(), hover_, selected_});
}

QFont ImageButton::caption_font() const {
    QFont font(font_face_);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(font_pixel_height(font_points_, logicalDpiY()));
    font.setWeight(static_cast<QFont::Weight>(rotated_ ? kRotatedWeight : kPlainWeight));
    return font;
}

QRect ImageButton::caption_rect() const {
    const QRect area = rect().adjusted(text_offsets_.left(), text_offsets_.top(),
                                       text_offsets_.right(), text_offsets_.bottom());
    if (!rotated_) {
        return area;
    }
    const QFontMetrics metrics(caption_font());
    const QSize extent(metrics.horizontalAdvance(text().left(kTextCapacity)), metrics.height());
    return centre_rotated_text(area, extent, escapement_);
}

QColor ImageButton::caption_colour() const {
    if (isEnabled()) {
        return text_colour_;
    }
    // A disabled face alone can look much like the enabled one (Apply): the caption fades too.
    QColor faded = text_colour_;
    faded.setAlpha(text_colour_.alpha() * kDisabledTextAlphaPercent / 100);
    return faded;
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const FaceSlot slot = current_face();
    if (outline_on_) {
        draw_outline(painter);
    } else {
        draw_face(painter, slot);
    }
    if (text_on_) {
        draw_caption(painter);
    }
    if (shows_focus_frame(*this)) {
        draw_focus_frame(painter, rect());
    }
    painter.end();
    if (draw_callback_) {
        draw_callback_(*this, slot == FaceSlot::Normal);
    }
}

void ImageButton::draw_face(QPainter& painter, FaceSlot slot) const {
    const SkinPicture* face = faces_[static_cast<std::size_t>(slot)];
    if (face == nullptr) {
        return;
    }
    const QRect source(origin_ - QPoint(1, 1), size());
    // Left of and above the picture's corner nothing is drawn; right of and below it, black.
    const QRect on_surface = source & QRect(0, 0, source.right() + 1, source.bottom() + 1);
    if (!QRect(QPoint(0, 0), face->size()).contains(on_surface)) {
        painter.fillRect(on_surface.translated(-source.topLeft()), Qt::black);
    }
    draw_skin_picture(painter, QRectF(rect()), *face, QRectF(source));
}

void ImageButton::draw_outline(QPainter& painter) const {
    QPen pen(outline_colour_, kOutlinePenWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // A 2-pixel pen centred on the rectangle (1, 1)-(w - 1, h - 1) covers the outermost two
    // pixels on every side.
    painter.drawRect(QRectF(1, 1, width() - 2, height() - 2));
}

void ImageButton::draw_caption(QPainter& painter) const {
    const QString caption = text().left(kTextCapacity);
    painter.setFont(caption_font());
    painter.setPen(caption_colour());
    painter.setBackgroundMode(Qt::TransparentMode);
    const QRect area = caption_rect();
    if (escapement_ == 0) {
        painter.drawText(area, text_format_, caption);
        return;
    }
    // Turned text pivots on the top-left corner of where the unturned text would stand.
    const QRect upright = painter.boundingRect(area, text_format_, caption);
    painter.translate(upright.topLeft());
    painter.rotate(-escapement_ / 10.0);
    painter.drawText(QRect(QPoint(0, 0), upright.size()), Qt::TextSingleLine, caption);
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    if (!tracking_) {
        tracking_ = true;
        on_hover();
    }
    QAbstractButton::mouseMoveEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    hover_ = false;
    tracking_ = false;
    redraw();
    QAbstractButton::leaveEvent(event);
}

bool ImageButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The tooltip pops up on hover already; the platform's delayed one would only repeat it.
        event->accept();
        return true;
    }
    return QAbstractButton::event(event);
}

void ImageButton::on_hover() {
    hover_ = true;
    redraw();
    QToolTip::hideText();
    set_tooltip(tooltip_text_, tooltip_active_);
    show_tooltip_now();
}

void ImageButton::show_tooltip_now() {
    if (!tooltip_created_ || !tooltip_active_) {
        return;
    }
    QToolTip::showText(mapToGlobal(QPoint(0, height())), tooltip_text_, this, rect(),
                       kTooltipShowFactor * kTooltipDelayMs);
}

} // namespace tarvenor
