#include "ui/logic/skin_keys.h"
#include "ui/skin/skin_label.h"

#include "window_fixture.h"

#include <QFontMetrics>

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
