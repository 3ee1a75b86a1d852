#pragma once

#include "ui/skin/face_images.h"
#include "ui/skin/face_rules.h"

#include <QAbstractButton>
#include <QColor>
#include <QMargins>
#include <QPoint>
#include <QString>

#include <functional>

namespace tarvenor {

// An image button: every state's face is a block cut from a shared full-dialog picture at the
// button's own position, so the skin can draw each control in place. Where the block reaches past
// the picture, the face is black.
class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    // Called after every draw with the button and whether the normal face was the one drawn. It
    // runs inside the paint event: it may schedule other repaints (update), not paint directly.
    using DrawCallback = std::function<void(ImageButton&, bool normal_face)>;

    static constexpr int kTextCapacity = 259;
    static constexpr int kRotatedWeight = 956;
    static constexpr int kPlainWeight = 400;
    static constexpr int kTooltipDelayMs = 2000;

    explicit ImageButton(QWidget* parent = nullptr);

    void set_faces(QPoint origin, const FaceImages& faces, bool redraw = true);
    void set_face_images(const FaceImages& faces, bool redraw = true);
    void set_selected(bool selected, bool redraw = true);
    void redraw();
    void set_text_style(bool on, int points, const QString& face, const QColor& colour, int format);
    void set_text_offsets(const QMargins& offsets);
    void set_text_rotation(int escapement, bool rotated);
    void set_tooltip(const QString& text, bool active);
    void set_outline(const QColor& colour, int value, bool on);
    void set_draw_callback(DrawCallback callback);

    QPoint origin() const { return origin_; }
    const FaceImages& faces() const { return faces_; }
    bool hovering() const { return hover_; }
    bool selected() const { return selected_; }
    bool outline_on() const { return outline_on_; }
    int outline_value() const { return outline_value_; }
    QString tooltip_text() const { return tooltip_text_; }
    bool tooltip_active() const { return tooltip_active_; }
    // The face the next draw uses.
    FaceSlot current_face() const;
    // The caption font for the current style on this widget's screen.
    QFont caption_font() const;
    // The caption's colour in the button's present state: faded while it is disabled.
    QColor caption_colour() const;
    // Where the caption is drawn: the client rectangle moved by the offsets and, for turned
    // text, by the centring rule.
    QRect caption_rect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void draw_face(QPainter& painter, FaceSlot slot) const;
    void draw_outline(QPainter& painter) const;
    void draw_caption(QPainter& painter) const;
    void on_hover();
    void show_tooltip_now();

    FaceImages faces_{};
    QPoint origin_;
    bool hover_ = false;
    bool tracking_ = false;
    bool selected_ = false;

    bool text_on_ = false;
    int font_points_ = 8;
    QString font_face_ = QStringLiteral("Tahoma");
    QColor text_colour_ = Qt::black;
    int text_format_ = Qt::AlignCenter | Qt::TextSingleLine;
    QMargins text_offsets_;
    int escapement_ = 0;
    bool rotated_ = false;

    QString tooltip_text_;
    bool tooltip_active_ = false;
    bool tooltip_created_ = false;

    bool outline_on_ = false;
    QColor outline_colour_ = Qt::black;
    int outline_value_ = 0;

    DrawCallback draw_callback_;
};

} // namespace tarvenor
