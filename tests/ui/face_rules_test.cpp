#include "ui/skin/face_rules.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tarvenor {
namespace {

struct LookCase {
    ButtonLook look;
    FaceSlot face;
};

void PrintTo(const LookCase& c, std::ostream* out) {
    *out << (c.look.enabled ? "enabled" : "disabled") << (c.look.pressed ? "+pressed" : "")
         << (c.look.hover ? "+hover" : "") << (c.look.selected ? "+selected" : "");
}

class FaceChoice : public ::testing::TestWithParam<LookCase> {};

TEST_P(FaceChoice, FollowsThePrecedence) {
    const ButtonLook& look = GetParam().look;
    EXPECT_EQ(choose_face(look), GetParam().face)
        << look.enabled << look.pressed << look.hover << look.selected;
}

INSTANTIATE_TEST_SUITE_P(
    Looks, FaceChoice,
    ::testing::Values(LookCase{{true, false, false, false}, FaceSlot::Normal},
                      LookCase{{true, false, false, true}, FaceSlot::Selected},
                      LookCase{{true, false, true, true}, FaceSlot::Hover},
                      LookCase{{true, true, true, true}, FaceSlot::Pressed},
                      LookCase{{false, false, true, false}, FaceSlot::Disabled},
                      LookCase{{false, true, true, true}, FaceSlot::Disabled}));

TEST(RotatedCaption, UnturnedTextIsCentredBothWays) {
    // 60 pixels free across, 20 free down (the text's own height counts half against it).
    const QRect moved = centre_rotated_text(QRect(0, 0, 100, 30), QSize(40, 10), 0);
    EXPECT_EQ(moved.left(), 30);
    EXPECT_EQ(moved.bottom(), 29 - (15 - 5));
    EXPECT_EQ(moved.top(), 0);
    EXPECT_EQ(moved.right(), 99);
}

TEST(RotatedCaption, HalvesAreTruncated) {
    const QRect moved = centre_rotated_text(QRect(4, 0, 101, 31), QSize(40, 11), 0);
    EXPECT_EQ(moved.left(), 4 + 30);
    EXPECT_EQ(moved.bottom(), 30 - (15 - 5));
}

TEST(RotatedCaption, QuarterTurnOnlyMovesAcross) {
    // Turned upright, the 40-pixel text is taller than the 30-pixel area: the bottom stays.
    const QRect moved = centre_rotated_text(QRect(0, 0, 100, 30), QSize(40, 10), 900);
    EXPECT_EQ(moved.left(), 50 - 5);
    EXPECT_EQ(moved.bottom(), 29);
}

TEST(RotatedCaption, TextWiderThanTheAreaStaysPut) {
    const QRect area(0, 0, 30, 30);
    const QRect moved = centre_rotated_text(area, QSize(80, 10), 0);
    EXPECT_EQ(moved.left(), 0);
    EXPECT_EQ(moved.bottom(), 29 - (15 - 5));
}

TEST(RotatedCaption, SlantedTextUsesBothComponents) {
    // 30 degrees: w cos = 34.64, w sin = 20, h sin = 5, h cos = 8.66.
    const QRect moved = centre_rotated_text(QRect(0, 0, 100, 60), QSize(40, 10), 300);
    EXPECT_EQ(moved.left(), 32 - 2);
    EXPECT_EQ(moved.bottom(), 59 - (20 - 4));
}

TEST(FontHeight, PointsScaleWithTheScreen) {
    EXPECT_EQ(font_pixel_height(8, 96), 11);
    EXPECT_EQ(font_pixel_height(9, 96), 12);
    EXPECT_EQ(font_pixel_height(10, 72), 10);
}

} // namespace
} // namespace tarvenor
