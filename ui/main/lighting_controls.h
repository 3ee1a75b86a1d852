#pragma once

#include "ui/skin/skin_pictures.h"

#include <QAbstractButton>
#include <QWidget>

namespace tarvenor {

// A clickable picture of the lighting panel (light switch, direction, random colour, tool and
// colour-choice pictures). Space and Enter press it when it has the focus.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent);
    void set_picture(const SkinPicture& picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const SkinPicture* picture_ = nullptr;
};

// A five-step slider drawn by its picture (the knob is part of the picture). Dragging across it,
// the mouse wheel over it and the arrow keys while it has the focus all move the knob; a
// position is reported only when it changes, never once per pixel or at either end.
class BitmapSlider : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPositions = 5;
    // One notch of a wheel.
    static constexpr int kWheelStep = 120;

    explicit BitmapSlider(QWidget* parent);
    void set_picture(const SkinPicture& picture);
    // Moves the knob without reporting it.
    void set_position(int position) { position_ = position; }
    int position() const { return position_; }

signals:
    void position_changed(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void follow_mouse(int x);
    // Moves the knob to `position`, limited to the slider's ends, and reports a change.
    void move_to(int position);

    const SkinPicture* picture_ = nullptr;
    int position_ = 0;
    // Wheel turns smaller than a notch (smooth wheels, touchpads), kept until they make one.
    int wheel_rest_ = 0;
};

} // namespace tarvenor
