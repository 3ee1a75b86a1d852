#include "profile_panel_window.h"

#include "ui/main/profile_panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace tarvenor::testing {
namespace {

// A's place in the keyboard's lighting order, which is its place in the factory key matrix
// and in the first profile block (three bytes a key).
constexpr std::size_t kAInProfile0 = 64 * 3;

// The close button and the tray's Exit with the panel's question answered by the test.
class ExitQuestionWindow : public ProfilePanelWindow {
protected:
    void before_start() override {
        panel->set_save_question([this](const QString& text) {
            exit_questions << text;
            if (during_question) {
                during_question();
            }
            return choice;
        });
    }
    void request_exit() {
        panel->request_exit([this] { ++exits; });
    }

    QStringList exit_questions;
    SaveChoice choice = SaveChoice::Cancel;
    std::function<void()> during_question;
    int exits = 0;
};

TEST_F(ExitQuestionWindow, WithoutChangesTheProgramEndsAtOnceWithoutAQuestion) {
    request_exit();
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(exit_questions.isEmpty());
}

TEST_F(ExitQuestionWindow, CancelKeepsTheProgramAndTheChangesAndWritesNothing) {
    edit_a(0);
    // Exit from the tray while the window is hidden: it comes up to carry the question.
    window->hide();
    const std::size_t before = traffic_lines();
    request_exit();
    settle();
    EXPECT_EQ(exit_questions,
              QStringList{QString::fromLatin1(ProfilePanel::kExitPromptText.built_in)});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(apply_enabled());
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Disabled));
    EXPECT_EQ(traffic_lines(), before);
}

TEST_F(ExitQuestionWindow, DiscardEndsAtOnceAndTheKeyboardKeepsWhatItHeld) {
    edit_a(0);
    const std::uint8_t held = memory_byte("profiles.bin", kAInProfile0);
    ASSERT_NE(held, 0);
    const std::size_t before = traffic_lines();
    choice = SaveChoice::Discard;
    request_exit();
    EXPECT_EQ(exits, 1);
    settle();
    EXPECT_EQ(traffic_lines(), before);
    EXPECT_EQ(memory_byte("profiles.bin", kAInProfile0), held);
}

TEST_F(ExitQuestionWindow, ApplyEndsOnlyOnceTheKeyboardHoldsTheChanges) {
    edit_a(0);
    choice = SaveChoice::Apply;
    request_exit();
    EXPECT_EQ(exits, 0) << "the download runs on the device worker first";
    settle();
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(apply_enabled());
    for (std::size_t offset = 0; offset < 3; ++offset) {
        EXPECT_EQ(memory_byte("profiles.bin", kAInProfile0 + offset), 0) << offset;
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
}

TEST_F(ExitQuestionWindow, AFailedApplyKeepsTheProgramRunningAndSaysSo) {
    edit_a(0);
    simctl({"fault", "status-ff", "3", "2"});
    choice = SaveChoice::Apply;
    request_exit();
    settle();
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(apply_enabled());
    EXPECT_TRUE(messages.contains(QString::fromLatin1(ProfilePanel::kApplyFailedText.built_in)))
        << messages.join(QLatin1Char('|')).toStdString();
}

TEST_F(ExitQuestionWindow, OneQuestionAtATime) {
    edit_a(0);
    int second_exits = 0;
    // The tray's Exit, or a profile switch, while the question is on screen.
    during_question = [&] {
        panel->request_exit([&second_exits] { ++second_exits; });
        window->button(1137)->click();
    };
    request_exit();
    settle();
    EXPECT_EQ(exit_questions.size(), 1);
    EXPECT_EQ(second_exits, 0);
    EXPECT_TRUE(questions.isEmpty()) << "no switch question meanwhile";
    EXPECT_EQ(memory_byte("parameters.bin", 10), 0) << "no switch meanwhile";
    EXPECT_EQ(exits, 0);
}

// The question as the program shows it: its three buttons in the window's language, Cancel
// taken by Enter and Escape.
class ExitQuestionBox : public ProfilePanelWindow {
protected:
    // Runs `act` on the question box once it is up; the captions of its buttons land in
    // `captions`.
    void answer_box(std::function<void(QMessageBox&)> act) {
        QTimer::singleShot(0, [this, act = std::move(act)] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(top);
                if (box != nullptr && box->isVisible()) {
                    for (const QAbstractButton* button : box->buttons()) {
                        captions << button->text();
                    }
                    default_button = box->defaultButton() ? box->defaultButton()->text() : "";
                    parent_is_window = box->parentWidget() == window.get();
                    act(*box);
                    return;
                }
            }
            answer_box(act);
        });
    }
    int exits = 0;
    QStringList captions;
    QString default_button;
    bool parent_is_window = false;
};

TEST_F(ExitQuestionBox, EnterAndEscapeCancelOnlyDiscardEnds) {
    edit_a(0);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        answer_box([key](QMessageBox& box) { QTest::keyClick(&box, key); });
        panel->request_exit([this] { ++exits; });
        EXPECT_EQ(exits, 0) << key;
    }
    EXPECT_TRUE(apply_enabled());
    EXPECT_EQ(captions,
              (QStringList{"Apply", "Cancel", "&Discard", "Apply", "Cancel", "&Discard"}));
    EXPECT_EQ(default_button, QStringLiteral("Cancel"));
    EXPECT_TRUE(parent_is_window);

    // (Its Alt+D is pressed in the end-to-end test, where real key events reach the box.)
    answer_box([](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons()) {
            if (box.buttonRole(button) == QMessageBox::DestructiveRole) {
                button->click();
            }
        }
    });
    panel->request_exit([this] { ++exits; });
    EXPECT_EQ(exits, 1);
}

} // namespace
} // namespace tarvenor::testing
