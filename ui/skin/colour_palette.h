#pragma once

#include <QColor>
#include <QFrame>

#include <array>

namespace tarvenor {

// The colours offered by the palette pop-up, row by row.
inline constexpr int kPaletteColumns = 10;
const std::array<QRgb, 40>& palette_colours();

// A pop-up grid of colour swatches, 10 to a row, with an entry for any other colour (the standard
// colour dialog). It closes itself after a choice and reports the colour.
class ColourPalettePopup : public QFrame {
    Q_OBJECT
public:
    // `other_text`: the caption of the button that opens the full colour dialog.
    ColourPalettePopup(QColor current, const QString& other_text, QWidget* parent);

signals:
    void colour_chosen(QColor colour);

private:
    void choose(QColor colour);
    void choose_other();

    QColor current_;
};

} // namespace tarvenor
