#pragma once

#include <QAbstractButton>
#include <QColor>

namespace tarvenor {

// The lighting panel's colour button: a swatch of the current colour with a drop-down part that
// opens the colour palette.
class ColourButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit ColourButton(QWidget* parent = nullptr);

    // An invalid colour means none chosen: the automatic colour is shown and reported.
    void set_colour(const QColor& colour);
    QColor colour() const;
    void set_automatic_colour(const QColor& colour);
    // The caption of the palette's way to the full colour dialog.
    void set_other_colour_text(const QString& text) { other_colour_text_ = text; }

    // The swatch and the drop-down part, in the button's own coordinates.
    QRect swatch_rect() const;
    QRect drop_down_rect() const;

signals:
    void colour_chosen(QColor colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void open_palette();

    QColor colour_;
    QColor automatic_ = Qt::black;
    QString other_colour_text_ = QStringLiteral("Other colour...");
};

} // namespace tarvenor
