#include "ui/assign/action_list_view.h"
#include "ui/assign/assignment_dialog.h"
#include "ui/assign/assignment_host.h"
#include "ui/assign/dialog_placement.h"
#include "ui/logic/control_ids.h"
#include "ui/logic/keyboard_map.h"
#include "ui/main/main_window.h"

#include "tests/support/map_settings.h"
#include "window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

// X key codes (evdev + 8) of a few keys.
constexpr quint32 kXA = 38, kXB = 56, kXQ = 24, kXS = 39, kXSpace = 65;
constexpr KeyCode kCodeA = 0x1E, kCodeB = 0x30, kCodeQ = 0x10, kCodeS = 0x1F;

int control_of(KeyCode code) {
    for (const KeyboardKey& key : keyboard_key_list()) {
        if (key.code == code) {
            return key.control_id;
        }
    }
    return 0;
}

// A key as the platform delivers it, sent to `target`.
void press(QWidget& target, quint32 x_key_code, bool release = false) {
    QKeyEvent event(release ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_unknown,
                    Qt::NoModifier, x_key_code, 0, 0, QStringLiteral("x"));
    QApplication::sendEvent(&target, &event);
}

void stroke(QWidget& target, quint32 x_key_code) {
    press(target, x_key_code);
    press(target, x_key_code, true);
}

// The main window with the assignment dialog's host, its questions and messages answered here.
class AssignmentDialogTest : public testing::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->set_current_profile(0);
        host = new AssignmentHost(*window,
                                  {language, texts, configuration, settings, TARVENOR_SKIN_DIR});
        host->prompts().set(
            [this](const QString& text) {
                questions << text;
                return answer_yes;
            },
            [this](const QString& text) { messages << text; });
        window->set_assign_handler([this](const KeyClickRequest& r) { host->open(r); });
        // The window opens only with a keyboard; without one its keys are greyed.
        window->set_connected_count(1);
        window->show();
    }

    // The host and its dialog belong to the window: they go before the settings they use.
    void TearDown() override { window.reset(); }

    AssignmentDialog& open_for(KeyCode code) {
        window->button(control_of(code))->click();
        EXPECT_TRUE(host->is_open());
        QApplication::processEvents();
        return *host->dialog();
    }

    void click(AssignmentControl control_id) {
        ASSERT_TRUE(host->is_open());
        ImageButton* button = host->dialog()->button(control_id);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << id_of(control_id);
        button->click();
        QApplication::processEvents();
    }

    KeyAssignment entry_of(KeyCode code) const {
        return configuration.entry(flat_entry(0, key_index_of(code)));
    }

    testing::MapSettings settings;
    AssignmentHost* host = nullptr;
    QStringList questions;
    bool answer_yes = false;
};

TEST_F(AssignmentDialogTest, PressedKeyBecomesTheAssignmentAndTheWindowShowsIt) {
    AssignmentDialog& dialog = open_for(kCodeA);
    EXPECT_TRUE(dialog.capturing());
    // Shown highlighted while the dialog is open.
    ImageButton* key_a = window->button(control_of(kCodeA));
    const FaceImages plain_faces = key_a->faces();
    EXPECT_NE(plain_faces[0], nullptr);

    stroke(dialog, kXB);
    QApplication::processEvents();
    EXPECT_EQ(dialog.key_field().text(), QStringLiteral("B"));
    EXPECT_TRUE(dialog.button(AssignmentControl::Apply)->isEnabled());
    EXPECT_FALSE(window->button(MainControl::Apply)->isEnabled());

    click(AssignmentControl::Ok);
    EXPECT_FALSE(host->is_open());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    const KeyAssignment given = entry_of(kCodeA);
    EXPECT_TRUE(given.is(AssignmentType::Key));
    EXPECT_EQ(given.param, kCodeB);
    EXPECT_TRUE(window->button(MainControl::Apply)->isEnabled());
    EXPECT_TRUE(key_a->selected());
    EXPECT_TRUE(key_a->tooltip_text().contains(QStringLiteral("(B)")))
        << key_a->tooltip_text().toStdString();
    EXPECT_EQ(window->highlighted_key(), 0);
}

TEST_F(AssignmentDialogTest, TitleAndBadgeNameTheDialogAndItsPageInTheLanguageOfTheFile) {
    AssignmentDialog& dialog = open_for(kCodeA);
    const auto text_of = [&dialog](const char* key) {
        return dialog.findChild<QLabel*>(QString::fromLatin1(key))->text();
    };
    EXPECT_EQ(dialog.windowTitle(), "Key assignment");
    EXPECT_EQ(text_of("LABEL_TITLE"), "Key assignment");
    EXPECT_EQ(text_of("LABEL_PAGE"), "Key");
    click(AssignmentControl::PageMedia);
    EXPECT_EQ(text_of("LABEL_PAGE"), "Media");
    click(AssignmentControl::PageMacro);
    EXPECT_EQ(text_of("LABEL_PAGE"), "Macro");
}

// The Key page takes the keys that reach the dialog but never grabs the keyboard: the desktop
// keeps its media keys and other programs their keystrokes. Only a recording grabs.
// The same dialog with the language file's index set to English (1) or Chinese (0).
class AssignmentLanguageTest : public AssignmentDialogTest,
                               public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        std::optional<IniFile> file =
            IniFile::read(std::filesystem::path(TARVENOR_SKIN_DIR) / "language.ini");
        ASSERT_TRUE(file.has_value());
        file->set("LANGUAGE", "language", GetParam());
        language = LanguageFile(std::move(*file));
        texts = TextTable(language);
        AssignmentDialogTest::SetUp();
    }
};

TEST_P(AssignmentLanguageTest, TitlePageNamesAndTheMacroListsHeaderAreWholeInTheLanguage) {
    AssignmentDialog& dialog = open_for(kCodeA);
    const auto text = [this](const char* key) {
        return QString::fromStdString(language.text(key));
    };
    EXPECT_EQ(dialog.windowTitle(), text("COMPOSITE_TITLE"));
    EXPECT_EQ(dialog.findChild<QLabel*>("LABEL_TITLE")->text(), text("COMPOSITE_TITLE"));
    click(AssignmentControl::PageMacro);
    EXPECT_EQ(dialog.findChild<QLabel*>("LABEL_PAGE")->text(), text("MACRO_SETTING"));
    const QHeaderView& header = *dialog.action_list().header();
    ASSERT_EQ(header.count(), 3);
    for (int column = 0; column < header.count(); ++column) {
        EXPECT_FALSE(dialog.action_list().headerItem()->text(column).isEmpty()) << column;
        EXPECT_LE(header.sectionSizeHint(column), header.sectionSize(column))
            << "column " << column << " cuts \""
            << dialog.action_list().headerItem()->text(column).toStdString() << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, AssignmentLanguageTest, ::testing::Values("1", "0"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param[0] == '1' ? "English" : "Chinese");
                         });

TEST_F(AssignmentDialogTest, OnlyARecordingGrabsTheKeyboard) {
    AssignmentDialog& dialog = open_for(kCodeA);
    ASSERT_TRUE(dialog.capturing());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr) << "opened on the Key page";
    click(AssignmentControl::PageMedia);
    EXPECT_FALSE(dialog.capturing());
    click(AssignmentControl::PageKey);
    ASSERT_TRUE(dialog.capturing());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr) << "the Key page shown again";
    stroke(dialog, kXB);
    QApplication::processEvents();
    EXPECT_EQ(dialog.key_field().text(), QStringLiteral("B")) << "a key that reaches it is taken";

    click(AssignmentControl::PageMacro);
    click(AssignmentControl::AddMacro);
    click(AssignmentControl::Record);
    ASSERT_TRUE(dialog.capturing());
    EXPECT_EQ(QWidget::keyboardGrabber(), &dialog);
    click(AssignmentControl::Record);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    click(AssignmentControl::PageKey);
    EXPECT_TRUE(dialog.capturing());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr) << "back from the recording's grab";
}

TEST_F(AssignmentDialogTest, EnterAndEscapeDoNotCloseTheDialog) {
    AssignmentDialog& dialog = open_for(kCodeA);
    click(AssignmentControl::PageMacro);
    EXPECT_FALSE(dialog.capturing());
    for (const int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&dialog, static_cast<Qt::Key>(key));
        EXPECT_TRUE(host->is_open()) << key;
        EXPECT_TRUE(dialog.isVisible()) << key;
    }
}

TEST_F(AssignmentDialogTest, RecordedMacroIsNamedByTypingAndGivenToTheKey) {
    AssignmentDialog& dialog = open_for(kCodeQ);
    click(AssignmentControl::PageMacro);
    click(AssignmentControl::AddMacro);
    ASSERT_EQ(dialog.macro_list().count(), 1);
    QLineEdit* name = dialog.macro_list().lineEdit();
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Jump"));
    EXPECT_EQ(dialog.macro_list().itemText(0), QStringLiteral("Jump"));

    click(AssignmentControl::Record);
    EXPECT_TRUE(dialog.capturing());
    ImageButton& record = *dialog.button(AssignmentControl::Record);
    stroke(record, kXA);
    stroke(record, kXS);
    // Space would press the record button it is sent to, ending the recording.
    stroke(record, kXSpace);
    QApplication::processEvents();
    EXPECT_TRUE(dialog.capturing());
    EXPECT_EQ(dialog.action_list().topLevelItemCount(), 6);
    click(AssignmentControl::Record);
    EXPECT_FALSE(dialog.capturing());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

    click(AssignmentControl::Ok);
    ASSERT_EQ(configuration.macros().size(), 1u);
    const MacroRecord& macro = configuration.macros().front();
    EXPECT_EQ(macro.name, u"Jump");
    ASSERT_EQ(macro.actions.size(), 6u);
    EXPECT_EQ(macro.actions[0].key, kCodeA);
    EXPECT_EQ(macro.actions[0].direction, 0);
    EXPECT_EQ(macro.actions[1].key, kCodeA);
    EXPECT_EQ(macro.actions[1].direction, 1);
    EXPECT_EQ(macro.actions[2].key, kCodeS);
    const KeyAssignment given = entry_of(kCodeQ);
    EXPECT_TRUE(given.is(AssignmentType::Macro));
    EXPECT_EQ(given.param, macro.id);
}

TEST_F(AssignmentDialogTest, F1OpensTheHelpOverTheDialogExceptWhileRecording) {
    AssignmentDialog& dialog = open_for(kCodeQ);
    click(AssignmentControl::PageMacro);
    desktop_opens = false;
    // F1 as the platform delivers it (X key code 67), so that a recording would take it.
    const auto f1 = [](QWidget& target, QEvent::Type type) {
        QKeyEvent event(type, Qt::Key_F1, Qt::NoModifier, 67, 0, 0);
        QApplication::sendEvent(&target, &event);
    };
    f1(dialog, QEvent::KeyPress);
    EXPECT_EQ(opened, QStringList{QUrl::fromLocalFile(TARVENOR_HELP_FILE).toString()});
    // Told over the dialog: the main window is blocked while the dialog is open.
    const auto boxes = dialog.findChildren<QMessageBox*>(QStringLiteral("open_failed"),
                                                         Qt::FindDirectChildrenOnly);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->text().contains(TARVENOR_HELP_FILE)) << boxes[0]->text().toStdString();
    boxes[0]->close();
    QApplication::processEvents();

    click(AssignmentControl::AddMacro);
    click(AssignmentControl::Record);
    ImageButton& record = *dialog.button(AssignmentControl::Record);
    f1(record, QEvent::KeyPress);
    f1(record, QEvent::KeyRelease);
    QApplication::processEvents();
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(dialog.action_list().topLevelItemCount(), 2);
    click(AssignmentControl::Record);
}

TEST_F(AssignmentDialogTest, CancelDropsTheAddedMacro) {
    AssignmentDialog& dialog = open_for(kCodeQ);
    click(AssignmentControl::PageMacro);
    click(AssignmentControl::AddMacro);
    EXPECT_EQ(dialog.macro_list().count(), 1);
    click(AssignmentControl::Cancel);
    EXPECT_TRUE(configuration.macros().empty());
    EXPECT_TRUE(entry_of(kCodeQ).is(AssignmentType::Default));
}

// However the dialog goes, no keystroke stays captured and the keyboard is not left grabbed,
// at once, not only when the dialog object is finally deleted.
enum class Closing { Ok, Cancel, ByMainWindow, KeyboardGone, Deleted };

class AssignmentClosingTest : public AssignmentDialogTest,
                              public ::testing::WithParamInterface<std::tuple<Closing, bool>> {};

TEST_P(AssignmentClosingTest, LeavesNoCaptureBehind) {
    const auto [closing, recording] = GetParam();
    AssignmentDialog& dialog = open_for(kCodeQ);
    if (recording) {
        click(AssignmentControl::PageMacro);
        click(AssignmentControl::AddMacro);
        click(AssignmentControl::Record);
    }
    ASSERT_TRUE(dialog.capturing());
    ASSERT_EQ(QWidget::keyboardGrabber(), recording ? &dialog : nullptr);
    const QPointer<AssignmentDialog> closed(&dialog);
    switch (closing) {
    case Closing::Ok:
        dialog.button(AssignmentControl::Ok)->click();
        break;
    case Closing::Cancel:
        dialog.button(AssignmentControl::Cancel)->click();
        break;
    case Closing::ByMainWindow:
        window->close_child_dialogs();
        break;
    case Closing::KeyboardGone:
        window->keyboard_gone();
        break;
    case Closing::Deleted:
        delete &dialog;
        break;
    }
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    // Until its deferred deletion the closed dialog still exists: it must hold no capture.
    EXPECT_TRUE(closed.isNull() || !closed->capturing());
    EXPECT_FALSE(host->logic().is_open());
    // Keystrokes reach the application's controls again.
    QLineEdit other;
    other.show();
    other.setFocus();
    QKeyEvent event(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, kXB, 0, 0, QStringLiteral("b"));
    QApplication::sendEvent(&other, &event);
    EXPECT_EQ(other.text(), QStringLiteral("b"));
    QApplication::processEvents();
    EXPECT_FALSE(host->is_open());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, AssignmentClosingTest,
    ::testing::Combine(::testing::Values(Closing::Ok, Closing::Cancel, Closing::ByMainWindow,
                                         Closing::KeyboardGone, Closing::Deleted),
                       ::testing::Bool()));

TEST(KeyCaptureKeystroke, PlatformKeyCodesBecomeKeyCodes) {
    EXPECT_EQ(keystroke_of(kXA, false, false).code, kCodeA);
    EXPECT_EQ(keystroke_of(kXQ, true, false).code, kCodeQ);
    EXPECT_TRUE(keystroke_of(kXQ, true, false).release);
    EXPECT_TRUE(keystroke_of(kXQ, false, true).auto_repeat);
    // Left Win (evdev 125) is the extended code 0x15B.
    EXPECT_EQ(keystroke_of(125 + 8, false, false).code, 0x15B);
    // Below the reserved codes, and none at all: no key.
    EXPECT_EQ(keystroke_of(0, false, false).code, 0);
    EXPECT_EQ(keystroke_of(8, false, false).code, 0);
}

TEST(DialogPlacement, GoesBesideTheKeyWhereItFits) {
    const QRect screen(0, 0, 1000, 800);
    const QSize dialog(300, 200);
    struct Case {
        QRect key;
        QPoint expected;
    } cases[] = {
        {QRect(100, 100, 20, 20), QPoint(120, 120)}, // below right
        {QRect(100, 700, 20, 20), QPoint(120, 500)}, // above right
        {QRect(900, 100, 20, 20), QPoint(600, 120)}, // below left
        {QRect(900, 700, 20, 20), QPoint(600, 500)}, // above left
        // Exactly fitting is fitting.
        {QRect(680, 580, 20, 20), QPoint(700, 600)},
        // Nowhere: below right anyway.
        {QRect(100, 100, 800, 650), QPoint(900, 750)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(position_beside_key(c.key, dialog, screen), c.expected) << c.key.x();
    }
    // On a second screen the same rule holds in its own coordinates.
    EXPECT_EQ(position_beside_key(QRect(1100, 100, 20, 20), dialog, QRect(1000, 0, 1000, 800)),
              QPoint(1120, 120));
}

} // namespace
} // namespace tarvenor
