#include "ui/skin/skin_rect.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tarvenor {
namespace {

struct RectCase {
    const char* text;
    SkinRect expected;
};

void PrintTo(const RectCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class SkinRectParsing : public ::testing::TestWithParam<RectCase> {};

TEST_P(SkinRectParsing, ReadsLikeFourDecimalConversions) {
    EXPECT_EQ(parse_skin_rect(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SkinRectParsing,
    ::testing::Values(RectCase{"10,20,30,40", {10, 20, 30, 40}},
                      RectCase{"1,1,1,1,x", {1, 1, 1, 1}}, RectCase{"5,6,7,8,9,10", {5, 6, 7, 8}},
                      RectCase{"5,6,7,8junk", {5, 6, 7, 8}},
                      RectCase{" 12, -3,+4, 5", {12, -3, 4, 5}},
                      // Reading stops at the first gap; the rest keep the unused value.
                      RectCase{"5,6", {5, 6, 1, 1}}, RectCase{"5,6 ,7,8", {5, 6, 1, 1}},
                      RectCase{"5,,7,8", {5, 1, 1, 1}}, RectCase{"", {1, 1, 1, 1}},
                      RectCase{"abc", {1, 1, 1, 1}}));

TEST(SkinRect, MissingKeyIsTheUnusedControl) {
    const IniFile skin = IniFile::parse("[BUTTONINFO]\nCONTROL_OK=10,20,30,40\n");
    EXPECT_EQ(read_skin_rect(skin, "BUTTONINFO", "CONTROL_CANCEL"), (SkinRect{1, 1, 1, 1}));
    EXPECT_TRUE(read_skin_rect(skin, "BUTTONINFO", "CONTROL_CANCEL").unused());
    // Names match without regard to case.
    EXPECT_EQ(read_skin_rect(skin, "buttoninfo", "control_ok"), (SkinRect{10, 20, 30, 40}));
}

TEST(SkinRect, OnlyPositionOneOneMeansUnused) {
    EXPECT_TRUE((SkinRect{1, 1, 50, 20}).unused());
    EXPECT_FALSE((SkinRect{1, 2, 1, 1}).unused());
    EXPECT_FALSE((SkinRect{0, 1, 1, 1}).unused());
}

} // namespace
} // namespace tarvenor
