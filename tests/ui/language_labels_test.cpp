#include "ui/logic/skin_keys.h"
#include "ui/skin/skin_label.h"

#include "window_fixture.h"

#include <QFontMetrics>
#include <QImage>

namespace tarvenor {
namespace {

// The main window on the shipped language file with the language index of the parameter.
class LanguageLabelsTest : public testing::WindowTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        IniFile ini =
            IniFile::read_or_empty(std::filesystem::path(TARVENOR_SKIN_DIR) / "language.ini");
        ini.set("LANGUAGE", "language", std::to_string(GetParam()));
        language = LanguageFile(std::move(ini));
        texts = TextTable(language);
        WindowTest::SetUp();
    }
};

TEST_P(LanguageLabelsTest, MainWindowWritesEveryLabelWholeInTheChosenLanguage) {
    for (const skin_keys::LanguageLabel& place : skin_keys::main_window::kLanguageLabels) {
        SCOPED_TRACE(place.key);
        const auto* label = window->findChild<SkinLabel*>(QString::fromLatin1(place.key));
        ASSERT_NE(label, nullptr);
        const QString expected = QString::fromStdString(language.text(place.text));
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(label->text(), expected);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width());
        EXPECT_TRUE(window->rect().contains(label->geometry()));
        EXPECT_TRUE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
}

TEST_P(LanguageLabelsTest, NoTwoLabelsOfTheMainWindowShareAPlace) {
    const auto& labels = skin_keys::main_window::kLanguageLabels;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        for (std::size_t j = i + 1; j < labels.size(); ++j) {
            const QRect a = window->findChild<SkinLabel*>(labels[i].key)->geometry();
            const QRect b = window->findChild<SkinLabel*>(labels[j].key)->geometry();
            EXPECT_FALSE(a.intersects(b)) << labels[i].key << " " << labels[j].key;
        }
    }
}

// The edges of a label's own rectangle that its text reaches when drawn on a screen of `ratio`
// device pixels per pixel: "left", "right", "top", "bottom", or nothing for a text drawn whole.
std::string edges_reached(QLabel& label, qreal ratio) {
    QImage surface((QSizeF(label.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(ratio);
    surface.fill(Qt::transparent);
    label.render(&surface);
    const auto inked = [&](int x, int y) { return qAlpha(surface.pixel(x, y)) > 48; };
    const int w = surface.width();
    const int h = surface.height();
    std::string edges;
    const auto column = [&](int x, const char* name) {
        for (int y = 0; y < h; ++y) {
            if (inked(x, y)) {
                edges += std::string(name) + " ";
                return;
            }
        }
    };
    const auto row = [&](int y, const char* name) {
        for (int x = 0; x < w; ++x) {
            if (inked(x, y)) {
                edges += std::string(name) + " ";
                return;
            }
        }
    };
    // A left-aligned text begins at the left edge by design.
    if (label.alignment() & Qt::AlignHCenter) {
        column(0, "left");
    }
    column(w - 1, "right");
    row(0, "top");
    row(h - 1, "bottom");
    return edges;
}

TEST(SkinLabel, AnOverlongTextIsSeenReachingTheEdges) {
    QWidget dialog;
    IniFile skin;
    skin.set(skin_keys::kControls, "LABEL", "10,10,30,16");
    SkinLabel label(dialog, skin, {"LABEL", "", 12, true, false});
    label.show_text(QStringLiteral("PROFILE MANAGER"));
    EXPECT_EQ(edges_reached(label, 1.25), "left right ");
    label.show_text(QStringLiteral("OK"));
    EXPECT_EQ(edges_reached(label, 1.25), "");
}

// 100 % to 200 % in steps, as desktops offer them: the text is laid out and hinted for the screen's
// pixels, so a text that just fits at 100 % may not at 125 %.
TEST_P(LanguageLabelsTest, EveryLabelIsDrawnWholeAtEveryScreenScale) {
    for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        for (const skin_keys::LanguageLabel& place : skin_keys::main_window::kLanguageLabels) {
            auto* label = window->findChild<SkinLabel*>(QString::fromLatin1(place.key));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(edges_reached(*label, ratio), "")
                << place.key << " \"" << label->text().toStdString() << "\" at " << ratio;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguageLabelsTest, ::testing::Values(0, 1));

TEST(SkinLabel, ShrinksALongTextUntilItFitsAndKeepsAShortOneAtItsSize) {
    QWidget dialog;
    IniFile skin;
    skin.set(skin_keys::kControls, "LABEL", "10,10,60,16");
    SkinLabel label(dialog, skin, {"LABEL", "", 12, false, false});
    EXPECT_EQ(label.geometry(), QRect(10, 10, 60, 16));
    label.show_text(QStringLiteral("OK"));
    EXPECT_EQ(label.font().pixelSize(), 12);
    label.show_text(QStringLiteral("PROFILE MGR"));
    EXPECT_LT(label.font().pixelSize(), 12);
    EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(label.text()), label.width());
    // Back to a short text: the full size again.
    label.show_text(QStringLiteral("OK"));
    EXPECT_EQ(label.font().pixelSize(), 12);
}

} // namespace
} // namespace tarvenor
