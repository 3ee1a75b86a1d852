#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>

namespace tarvenor {

// A clickable picture of the lighting panel (light switch, direction, random colour, tool and
// colour-choice pictures).
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent);
    void set_picture(const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

// A five-step slider drawn by its picture (the knob is part of the picture). Dragging across it
// reports a position only when the position changes, never once per pixel.
class BitmapSlider : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPositions = 5;

    explicit BitmapSlider(QWidget* parent);
    void set_picture(const QPixmap& picture);
    // Moves the knob without reporting it.
    void set_position(int position) { position_ = position; }
    int position() const { return position_; }

signals:
    void position_changed(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void follow_mouse(int x);

    QPixmap picture_;
    int position_ = 0;
};

} // namespace tarvenor
