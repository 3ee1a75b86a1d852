#include "ui/skin/skin_error.h"
#include "ui/skin/state_surface.h"

#include "skin_test_support.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(StateSurface, PictureIsDrawnUnscaledIntoClientPlusMargin) {
    const StateSurface surface(test::coordinate_picture({30, 20}, 7), QSize(50, 40));
    const QImage& pixels = surface.surface();
    EXPECT_EQ(pixels.size(), QSize(150, 140));
    EXPECT_EQ(pixels.pixelColor(0, 0), QColor(0, 0, 7));
    EXPECT_EQ(pixels.pixelColor(29, 19), QColor(29, 19, 7));
    // Beyond the picture the surface stays black.
    EXPECT_EQ(pixels.pixelColor(30, 19), QColor(0, 0, 0));
    EXPECT_EQ(pixels.pixelColor(149, 139), QColor(0, 0, 0));
}

TEST(StateSurface, LargerPictureIsCutNotShrunk) {
    const StateSurface surface(test::coordinate_picture({300, 200}, 9), QSize(50, 40));
    EXPECT_EQ(surface.surface().size(), QSize(150, 140));
    EXPECT_EQ(surface.surface().pixelColor(149, 139), QColor(149, 139, 9));
}

TEST(StateSurface, LoadsFromFileOrNamesTheFileItMisses) {
    test::TempFolder folder;
    folder.save("state.jpg", test::coordinate_picture({40, 30}, 0));
    const StateSurface loaded = StateSurface::load(folder.path() / "state.jpg", QSize(40, 30));
    EXPECT_EQ(loaded.surface().size(), QSize(140, 130));
    try {
        StateSurface::load(folder.path() / "absent.jpg", QSize(40, 30));
        FAIL() << "a missing state picture was accepted";
    } catch (const SkinError& error) {
        EXPECT_NE(std::string(error.what()).find("absent.jpg"), std::string::npos);
    }
}

} // namespace
} // namespace tarvenor
