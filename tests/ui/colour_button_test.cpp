#include "ui/skin/colour_button.h"
#include "ui/skin/colour_palette.h"

#include <QApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(ColourButton, NoColourMeansTheAutomaticOne) {
    ColourButton button;
    button.set_automatic_colour(QColor(1, 2, 3));
    EXPECT_EQ(button.colour(), QColor(1, 2, 3));
    button.set_colour(QColor(200, 100, 50));
    EXPECT_EQ(button.colour(), QColor(200, 100, 50));
    button.set_colour(QColor());
    EXPECT_EQ(button.colour(), QColor(1, 2, 3));
}

TEST(ColourButton, DrawsSwatchDropDownAndArrow) {
    ColourButton button;
    button.resize(60, 20);
    button.set_colour(QColor(0, 200, 0));
    // Swatch: x from -1 to 60 / 2 + 5 (exclusive); drop-down from 60 / 2 + 3.
    EXPECT_EQ(button.swatch_rect(), QRect(QPoint(-1, -1), QPoint(34, 20)));
    EXPECT_EQ(button.drop_down_rect().left(), 33);

    const QImage picture = button.grab().toImage();
    EXPECT_EQ(picture.pixelColor(10, 10), QColor(0, 200, 0));
    EXPECT_EQ(picture.pixelColor(40, 3), QColor(148, 146, 139));
    // The arrow's top edge runs from (r - 11, m - 2) to (r - 5, m - 2).
    EXPECT_EQ(picture.pixelColor(60 - 8, 10 - 2), QColor(0, 0, 0));
    EXPECT_EQ(picture.pixelColor(60 - 8, 10 + 4), QColor(148, 146, 139));

    button.setEnabled(false);
    EXPECT_NE(button.grab().toImage().pixelColor(10, 10), QColor(0, 200, 0));
}

TEST(ColourPalette, TenColumnsAndAnOtherEntryWithTheTextGiven) {
    ColourPalettePopup popup(Qt::red, QStringLiteral("Andere Farbe..."), nullptr);
    const auto* grid = popup.findChild<QGridLayout*>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->columnCount(), kPaletteColumns);
    EXPECT_EQ(grid->count(), static_cast<int>(palette_colours().size()));
    const auto* other = popup.findChild<QPushButton*>(QStringLiteral("otherColour"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->text(), "Andere Farbe...");
}

TEST(ColourPalette, ChoosingASwatchReportsItsColour) {
    ColourButton button;
    QColor reported;
    QObject::connect(&button, &ColourButton::colour_chosen,
                     [&](QColor colour) { reported = colour; });
    button.click();
    auto* popup = button.findChild<ColourPalettePopup*>();
    ASSERT_NE(popup, nullptr);
    const auto swatches = popup->findChildren<QToolButton*>();
    ASSERT_EQ(swatches.size(), static_cast<qsizetype>(palette_colours().size()));
    swatches[5]->click();
    EXPECT_EQ(reported, QColor(palette_colours()[5]));
    EXPECT_EQ(button.colour(), QColor(palette_colours()[5]));
}

} // namespace
} // namespace tarvenor
