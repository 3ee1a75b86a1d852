#include "virtual_keyboard_window.h"

#include "model/ini_file.h"
#include "ui/logic/outcome_texts.h"
#include "ui/logic/skin_keys.h"
#include "ui/main/lighting_controls.h"
#include "ui/main/lighting_panel.h"
#include "ui/skin/keyboard_focus.h"

#include "input_events.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>

#include <fstream>
#include <iterator>

namespace tarvenor::testing {
namespace {

constexpr int kEsc = 1022; // lighting position 0

class LightingWindow : public VirtualKeyboardWindow {
protected:
    QByteArray memory(const char* name) const {
        QFile file(sim_dir + "/" + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool memory_holds(const char* name, int offset, const QByteArray& bytes) {
        return wait_for([&] { return memory(name).mid(offset, bytes.size()) == bytes; });
    }

    void arrive() {
        start(false);
        ASSERT_TRUE(wait_for([this] { return panel().effect_box()->count() == 19; }));
    }

    LightingPanel& panel() { return window->lighting(); }

    // The light switch turned on, on the shown and active window.
    void switch_on_shown() {
        arrive();
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::mouseClick(panel().light_switch(), Qt::LeftButton);
        ASSERT_TRUE(panel().effect_box()->isVisible());
    }

    // The names of the controls Tab reaches one after another from the light switch.
    QStringList tab_from_switch(int count) {
        panel().light_switch()->setFocus(Qt::TabFocusReason);
        QStringList reached;
        for (int i = 0; i < count; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        return reached;
    }

    QWidget* control(const char* skin_key) {
        return window->findChild<QWidget*>(QString::fromLatin1(skin_key));
    }
};

namespace keys = skin_keys::lighting;

QStringList names(std::initializer_list<const char*> skin_keys) {
    QStringList list;
    for (const char* key : skin_keys) {
        list << QString::fromLatin1(key);
    }
    return list;
}

TEST_F(LightingWindow, PaintingKeysOnTheWindowColoursTheKeyboard) {
    arrive();
    EXPECT_FALSE(panel().effect_box()->isVisible()) << "the switch is off at first";
    QTest::mouseClick(panel().light_switch(), Qt::LeftButton);
    EXPECT_TRUE(panel().effect_box()->isVisible());
    EXPECT_TRUE(storage.lighting_switch());

    panel().effect_box()->activated(18); // the per-key effect, last in the list
    ASSERT_TRUE(memory_holds("settings.bin", 0, QByteArray(1, 20)));
    EXPECT_TRUE(panel().preset_box()->isVisible());
    EXPECT_TRUE(window->button(kEsc)->outline_on()) << "each key framed with its own colour";

    // The factory user colour is red and the tool paints with it.
    QTest::mouseClick(window->button(kEsc), Qt::LeftButton);
    EXPECT_TRUE(requests.empty()) << "a paint click opens no assignment";
    ASSERT_TRUE(memory_holds("colours.bin", 0, QByteArray("\xFF\x00\x00", 3)));

    panel().preset_box()->activated(0); // FPS
    ASSERT_TRUE(memory_holds("colours.bin", 64 * 3, QByteArray("\xFF\x00\x00", 3)));
    EXPECT_TRUE(memory_holds("colours.bin", 0, QByteArray(3, '\0')))
        << "the preset paints every other key black";

    QTest::mouseClick(panel().light_switch(), Qt::LeftButton);
    EXPECT_FALSE(window->button(kKeyA)->outline_on());
    QTest::mouseClick(window->button(kKeyA), Qt::LeftButton);
    EXPECT_EQ(requests.size(), 1u) << "with the switch off a click assigns again";
}

TEST_F(LightingWindow, DraggingTheBrightnessWritesEachNewPositionOnce) {
    arrive();
    QTest::mouseClick(panel().light_switch(), Qt::LeftButton);
    BitmapSlider* slider = panel().brightness_slider();
    const int y = slider->height() / 2;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(slider->width() - 1, y));
    for (int x = slider->width() - 1; x >= 0; x -= 3) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), slider->mapToGlobal(QPointF(x, y)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(slider, &move);
    }
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(0, y));
    ASSERT_TRUE(memory_holds("settings.bin", 1, QByteArray(1, '\0')));
    EXPECT_EQ(slider->position(), 0);
}

// The wheel and the arrow keys move the brightness as a drag does: each new position is written
// once, and a turn or key past either end writes nothing.
TEST_F(LightingWindow, WheelAndArrowKeysOnTheBrightnessWriteEachNewPosition) {
    switch_on_shown();
    BitmapSlider* slider = panel().brightness_slider();
    ASSERT_EQ(slider->position(), 4) << "the factory brightness is the highest";
    settle();
    const std::size_t quiet = traffic_lines();
    testing::turn_wheel(*slider, 120);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_End);
    settle();
    EXPECT_EQ(traffic_lines(), quiet) << "nothing written past the right end";

    testing::turn_wheel(*slider, -120);
    ASSERT_TRUE(memory_holds("settings.bin", 1, QByteArray(1, 3)));
    QTest::keyClick(slider, Qt::Key_Left);
    ASSERT_TRUE(memory_holds("settings.bin", 1, QByteArray(1, 2)));
    testing::turn_wheel(*slider, -240);
    ASSERT_TRUE(memory_holds("settings.bin", 1, QByteArray(1, '\0')));
    settle();
    const std::size_t at_left = traffic_lines();
    QTest::keyClick(slider, Qt::Key_Down);
    testing::turn_wheel(*slider, -120);
    settle();
    EXPECT_EQ(traffic_lines(), at_left) << "nothing written past the left end";
    QTest::keyClick(slider, Qt::Key_Up);
    EXPECT_TRUE(memory_holds("settings.bin", 1, QByteArray(1, 1)));
    EXPECT_EQ(slider->position(), 1);
}

// Tab goes through the controls the effect shows, in the panel's order, and skips the hidden
// ones; the focused control shows its frame.
TEST_F(LightingWindow, TabReachesTheShownLightingControlsInOrder) {
    switch_on_shown();
    EXPECT_EQ(tab_from_switch(7),
              names({keys::kEffectList, keys::kBrightness, keys::kSpeed, keys::kDirectionLeft,
                     keys::kDirectionRight, keys::kColourA, keys::kRandomA}))
        << "effect 1";
    EXPECT_TRUE(shows_focus_frame(*control(keys::kRandomA)));

    panel().effect_box()->activated(18); // the per-key effect
    ASSERT_TRUE(memory_holds("settings.bin", 0, QByteArray(1, 20)));
    EXPECT_EQ(tab_from_switch(6), names({keys::kEffectList, keys::kBrightness, keys::kUserColour,
                                         keys::kBaseColour, keys::kTools[0], keys::kTools[1]}))
        << "the per-key effect";
}

// The tools and the random-colour switch are pressed with Enter or Space as with a click.
TEST_F(LightingWindow, EnterAndSpacePressTheFocusedLightingPictures) {
    switch_on_shown();
    QWidget* random = control(keys::kRandomA);
    random->setFocus(Qt::TabFocusReason);
    QTest::keyClick(random, Qt::Key_Space); // random colour off (the factory has it on)
    ASSERT_TRUE(memory_holds("settings.bin", 4, QByteArray(1, '\0')));
    QTest::keyClick(random, Qt::Key_Return);
    ASSERT_TRUE(memory_holds("settings.bin", 4, QByteArray(1, 1)));

    panel().effect_box()->activated(18);
    QWidget* base_tool = control(keys::kTools[1]);
    base_tool->setFocus(Qt::TabFocusReason);
    QTest::keyClick(base_tool, Qt::Key_Enter);
    EXPECT_TRUE(memory_holds("settings.bin", 16, QByteArray(1, 1)));
}

TEST_F(LightingWindow, ArrowKeysOnTheEffectListNeverChangeTheEffect) {
    arrive();
    QTest::mouseClick(panel().light_switch(), Qt::LeftButton);
    QComboBox* effects = panel().effect_box();
    const int shown = effects->currentIndex();
    ASSERT_GE(shown, 0);
    effects->setFocus();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right}) {
        QTest::keyClick(effects, key);
    }
    EXPECT_EQ(effects->currentIndex(), shown);
    QTest::keyClick(effects, Qt::Key_End); // other keys still reach the list
    EXPECT_EQ(effects->currentIndex(), effects->count() - 1);
}

TEST_F(LightingWindow, RefusedChangeIsToldOnThePanelAndUndone) {
    arrive();
    QTest::mouseClick(panel().light_switch(), Qt::LeftButton);
    simctl({"fault", "status-ff", "3", "1"}); // the effect's write is refused
    panel().effect_box()->activated(5);       // effect 6
    EXPECT_EQ(panel().effect_box()->currentIndex(), 5) << "shown before the keyboard answers";
    ASSERT_TRUE(wait_for([this] {
        return panel().notice()->isVisible() && panel().effect_box()->currentIndex() == 0;
    })) << "the keyboard still runs effect 1";
    EXPECT_TRUE(messages.isEmpty()) << "no message box";
}

// The language index chooses the skin's captions and effect names as it chooses the texts:
// English for 1 alone, Chinese for every other value, so that no value leaves them empty.
struct LanguageIndex {
    const char* value;
    bool english;
    const char* name; // of the test case
};

class LanguageIndexWindow : public LightingWindow,
                            public ::testing::WithParamInterface<LanguageIndex> {
protected:
    void SetUp() override {
        const std::filesystem::path skin(TARVENOR_SKIN_DIR);
        std::ifstream in(skin / "language.ini", std::ios::binary);
        std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::string line = "\nlanguage=1\n";
        const std::size_t at = content.find(line);
        ASSERT_NE(at, std::string::npos);
        content.replace(at, line.size(), "\nlanguage=" + std::string(GetParam().value) + "\n");
        const std::filesystem::path file = folder.filePath("language.ini").toStdString();
        std::ofstream(file, std::ios::binary) << content;
        language = LanguageFile::load(file);
        texts = TextTable(language);
        main_skin = IniFile::read_or_empty(skin / "Main.ini");
        LightingWindow::SetUp();
    }

    // A name from the skin in the chosen language (or the other one).
    std::string skin_name(const std::array<const char*, 2>& sections, bool english,
                          const char* key) const {
        return main_skin.get(sections[english ? 1 : 0], key);
    }

    IniFile main_skin;
};

TEST_P(LanguageIndexWindow, CaptionsAndEffectNamesFollowTheTexts) {
    const bool english = GetParam().english;
    EXPECT_EQ(language.is_english(), english);
    QStringList captions;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        captions << label->text();
    }
    const std::string brightness = skin_name(skin_keys::kControlNames, english, "Light");
    ASSERT_FALSE(brightness.empty());
    EXPECT_TRUE(captions.contains(QString::fromStdString(brightness)));
    EXPECT_FALSE(captions.contains(
        QString::fromStdString(skin_name(skin_keys::kControlNames, !english, "Light"))));

    arrive();
    for (int i = 0; i < panel().effect_box()->count(); ++i) {
        const std::string number = std::to_string(panel().effect_box()->itemData(i).toInt());
        const std::string name = skin_name(skin_keys::kEffectNames, english, number.c_str());
        EXPECT_FALSE(name.empty()) << number;
        EXPECT_EQ(panel().effect_box()->itemText(i).toStdString(), name) << number;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, LanguageIndexWindow,
                         ::testing::Values(LanguageIndex{"0", false, "Zero"},
                                           LanguageIndex{"2", false, "Two"},
                                           LanguageIndex{"-1", false, "MinusOne"},
                                           LanguageIndex{"99", false, "NinetyNine"},
                                           LanguageIndex{"chinese", false, "NotANumber"},
                                           LanguageIndex{"1abc", true, "OneWithLetters"}),
                         [](const ::testing::TestParamInfo<LanguageIndex>& info) {
                             return std::string(info.param.name);
                         });

// The panel's notice of a change or read the keyboard did not take fits its place, wrapped, in
// either language.
class NoticeWindow : public LanguageIndexWindow {};

TEST_P(NoticeWindow, EveryNoticeFitsInsideTheWindow) {
    const QLabel* notice = panel().notice();
    EXPECT_TRUE(window->rect().contains(notice->geometry())) << "placed inside the window";
    for (const OwnText& own :
         {outcome_text::kLightingWriteFailed, outcome_text::kLightingReadFailed}) {
        const QString text = QString::fromStdString(language.text(own));
        ASSERT_FALSE(text.isEmpty());
        const QRect needed =
            QFontMetrics(notice->font())
                .boundingRect(QRect(0, 0, notice->width(), 10000), Qt::TextWordWrap, text);
        EXPECT_LE(needed.width(), notice->width()) << text.toStdString();
        EXPECT_LE(needed.height(), notice->height()) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, NoticeWindow,
                         ::testing::Values(LanguageIndex{"1", true, "English"},
                                           LanguageIndex{"0", false, "Chinese"}),
                         [](const ::testing::TestParamInfo<LanguageIndex>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tarvenor::testing
