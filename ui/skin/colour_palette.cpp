#include "ui/skin/colour_palette.h"

#include "ui/skin/keyboard_focus.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvenor {

namespace {

constexpr int kSwatchSize = 18;

QToolButton* make_swatch(QRgb colour, QWidget* parent) {
    auto* swatch = new QToolButton(parent);
    swatch->setFixedSize(kSwatchSize, kSwatchSize);
    swatch->setAutoRaise(true);
    swatch->setToolTip(QColor(colour).name());
    swatch->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 1px solid #555; }"
                                         "QToolButton:hover { border: 2px solid #fff; }"
                                         "QToolButton:focus { border: 2px dashed %2; }")
                              .arg(QColor(colour).name(), kFocusFrameColour.name()));
    return swatch;
}

} // namespace

const std::array<QRgb, 40>& palette_colours() {
    // Greys, then full, deep, light and pale versions of the hues.
    static const std::array<QRgb, 40> colours{
        0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF, 0xFF0000, 0xFF8000, 0xFFFF00,
        0x00FF00, 0x00FFFF, 0x0080FF, 0x0000FF, 0x8000FF, 0xFF00FF, 0xFF0080, 0x800000,
        0x804000, 0x808000, 0x008000, 0x008080, 0x004080, 0x000080, 0x400080, 0x800080,
        0x800040, 0xFF8080, 0xFFC080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x80C0FF, 0x8080FF,
        0xC080FF, 0xFF80FF, 0xFF80C0, 0xFFE0E0, 0xFFF0D0, 0xE0FFE0, 0xE0F0FF, 0xF0E0FF};
    return colours;
}

ColourPalettePopup::ColourPalettePopup(QColor current, const QString& other_text, QWidget* parent)
    : QFrame(parent, Qt::Popup), current_(current) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const auto& colours = palette_colours();
    for (int i = 0; i < static_cast<int>(colours.size()); ++i) {
        QToolButton* swatch = make_swatch(colours[static_cast<std::size_t>(i)], this);
        const QColor colour(colours[static_cast<std::size_t>(i)]);
        connect(swatch, &QToolButton::clicked, this, [this, colour] { choose(colour); });
        // Opened from the keyboard, Tab and Space go on from the colour shown now.
        if (i == 0 || colour == current) {
            swatch->setFocus();
        }
        grid->addWidget(swatch, i / kPaletteColumns, i % kPaletteColumns);
    }
    layout->addLayout(grid);
    auto* other = new QPushButton(other_text, this);
    other->setObjectName(QStringLiteral("otherColour"));
    connect(other, &QPushButton::clicked, this, &ColourPalettePopup::choose_other);
    layout->addWidget(other);
}

void ColourPalettePopup::choose(QColor colour) {
    emit colour_chosen(colour);
    close();
}

void ColourPalettePopup::choose_other() {
    hide();
    // The toolkit's own dialog, so that it wears the program's dark look on every desktop.
    const QColor colour = QColorDialog::getColor(current_, parentWidget(), QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (colour.isValid()) {
        emit colour_chosen(colour);
    }
    close();
}

} // namespace tarvenor
