#include "profile_panel_window.h"

#include "device/keyboard_lock.h"
#include "model/profile_file.h"
#include "ui/logic/outcome_texts.h"
#include "ui/logic/profile_controls.h"
#include "ui/main/busy_bar.h"
#include "ui/main/lighting_panel.h"

#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

#include <array>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace tarvenor::testing {
namespace {

using Code = std::array<std::uint8_t, 3>;

constexpr int kProfile1 = 1135;
constexpr int kProfile2 = 1136;
constexpr int kRate2 = id_of(kReportRateButtons[2]);
// Byte 15 of a profile's 42-byte lighting record in the settings area.
constexpr std::size_t kRateByteProfile1 = 15;
constexpr std::size_t kRateByteProfile2 = 42 + 15;
constexpr Code kFactoryA{2, 2, 0x04};
constexpr Code kDisabled{0, 0, 0};

// The main window with its profile controls and lighting panel wired to each other as the
// program wires them (app/application.cpp), on a virtual keyboard that gives up quickly: another
// holder of the keyboard is waited for 300 ms, a silent keyboard 250 ms per attempt.
class KeyboardOutcomeWindow : public ProfilePanelWindow {
protected:
    void SetUp() override {
        lock_patience = std::chrono::milliseconds(300);
        answer_wait = std::chrono::milliseconds(250);
        ProfilePanelWindow::SetUp();
    }

    void before_start() override {
        LightingPanel& lighting = window->lighting();
        LightingPanelLogic& logic = lighting.logic();
        panel->set_lighting_hooks(
            [&logic](int profile) {
                if (logic.light_switch()) {
                    logic.turn_switch_off();
                }
                logic.show_profile(profile);
            },
            [&logic] { logic.reset_lighting(); });
        logic.set_before_switch_on([this] { panel->switch_profile(window->current_profile()); });
        lighting.set_shown_hook(
            [this, &logic] { panel->show_report_rate(logic.record().report_rate()); });
    }

    QString own(const OwnText& text) const { return QString::fromStdString(language.text(text)); }
    std::filesystem::path lock_file() const {
        return folder.filePath("keyboard.lock").toStdString();
    }
    // How the keyboard lock names this test program while it holds the keyboard.
    static QString this_program() {
        return QStringLiteral("%1 (process %2)")
            .arg(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName())
            .arg(QCoreApplication::applicationPid());
    }
    // The busy messages on screen now.
    QList<QMessageBox*> busy_boxes() const {
        QList<QMessageBox*> shown;
        for (QMessageBox* box : window->findChildren<QMessageBox*>()) {
            if (box->isVisible() && box->text().contains(QStringLiteral("is using it"))) {
                shown << box;
            }
        }
        return shown;
    }
    bool selected(int control_id) const { return window->button(control_id)->selected(); }
    // The report-rate button of the rate profile 1's record holds now (values above 3 show as 3).
    int stored_rate_button() const {
        return id_of(kReportRateButtons[std::min<std::size_t>(
            memory_byte("settings.bin", kRateByteProfile1), kReportRateButtons.size() - 1)]);
    }
    bool notice_shown() const { return window->lighting().notice()->isVisible(); }

    std::vector<std::uint8_t> memory(const char* file) const {
        std::ifstream in((sim_dir + "/" + file).toStdString(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Where the keyboard keeps A: its place in the factory key matrix.
    std::size_t a_position() const {
        const std::vector<std::uint8_t> matrix = memory("default_matrix.bin");
        for (std::size_t at = 0; at + 3 <= matrix.size(); at += 3) {
            if (std::equal(kFactoryA.begin(), kFactoryA.end(), matrix.begin() + at)) {
                return at / 3;
            }
        }
        ADD_FAILURE() << "A is not in the factory key matrix";
        return 0;
    }
    // The three bytes the keyboard holds for A in a profile.
    Code stored_a(int profile) const {
        const std::vector<std::uint8_t> profiles = memory("profiles.bin");
        const std::size_t at = static_cast<std::size_t>(profile) * 378 + a_position() * 3;
        if (at + 3 > profiles.size()) {
            ADD_FAILURE() << "profiles.bin is too short";
            return {};
        }
        return {profiles[at], profiles[at + 1], profiles[at + 2]};
    }
    void unplug_and_plug() {
        simctl({"unplug"});
        ASSERT_TRUE(wait_for([this] { return window->connected_count() == 0; }));
        simctl({"plug"});
        // The count follows the arrival's reads, so the keyboard's state is installed by then.
        ASSERT_TRUE(wait_for([this] { return window->connected_count() == 1; }));
        settle();
    }
};

TEST_F(KeyboardOutcomeWindow, KeyboardHeldElsewhereKeepsEveryChangeAndSaysWhoHasItOnce) {
    edit_a(0);
    const int stored_rate = stored_rate_button();
    ASSERT_NE(stored_rate, kRate2);
    const std::uint8_t profile2_rate = memory_byte("settings.bin", kRateByteProfile2);
    KeyboardLock other(lock_file());
    std::string why;
    ASSERT_TRUE(other.acquire(std::chrono::seconds(5), why)) << why;

    answer = true; // save the edits before switching profile
    window->button(MainControl::Apply)->click();
    window->button(kProfile2)->click();
    window->button(kRate2)->click();
    window->button(MainControl::Ok)->click();
    settle();
    ASSERT_TRUE(wait_for([this] { return !window->busy_bar().animating(); }));

    const QList<QMessageBox*> boxes = busy_boxes();
    ASSERT_EQ(boxes.size(), 1) << "one busy message, not one per job";
    EXPECT_TRUE(boxes[0]->text().contains(this_program())) << boxes[0]->text().toStdString();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(questions.size(), 1);
    // Nothing reached the keyboard and nothing was given up.
    EXPECT_TRUE(apply_enabled());
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Disabled));
    EXPECT_EQ(stored_a(0), kFactoryA);
    EXPECT_TRUE(window->isVisible()) << "OK hid the window with the change not applied";
    // The window shows the profile and report rate the keyboard has.
    EXPECT_EQ(window->current_profile(), 0);
    EXPECT_EQ(window->panel_profile(), 0);
    EXPECT_TRUE(selected(kProfile1));
    EXPECT_FALSE(selected(kProfile2));
    EXPECT_TRUE(selected(stored_rate));
    EXPECT_FALSE(selected(kRate2));

    // Once the message is closed, the next busy job says it again.
    boxes[0]->close();
    window->button(MainControl::Apply)->click();
    ASSERT_TRUE(wait_for([this] { return busy_boxes().size() == 1; }));

    other.release();
    window->button(kRate2)->click();
    ASSERT_TRUE(wait_for([this] { return memory_byte("settings.bin", kRateByteProfile1) == 2; }));
    EXPECT_EQ(memory_byte("settings.bin", kRateByteProfile2), profile2_rate);
    window->button(MainControl::Apply)->click();
    ASSERT_TRUE(wait_for([this] { return !apply_enabled(); }));
    EXPECT_EQ(stored_a(0), kDisabled);
    edit_a(0);
    window->button(MainControl::Ok)->click();
    ASSERT_TRUE(wait_for([this] { return !window->isVisible(); }));
    EXPECT_FALSE(apply_enabled());
}

TEST_F(KeyboardOutcomeWindow, FailedProfileSwitchIsToldAndLaterChangesGoToTheProfileShown) {
    const std::uint8_t profile2_rate = memory_byte("settings.bin", kRateByteProfile2);
    ASSERT_NE(memory_byte("settings.bin", kRateByteProfile1), 2);
    simctl({"fault", "no-answer"});
    window->button(kProfile2)->click();
    const QString not_switched = own(outcome_text::kSwitchFailed).arg(2);
    ASSERT_TRUE(wait_for([&] { return messages.contains(not_switched); }))
        << messages.join(QLatin1Char('|')).toStdString();
    settle();
    EXPECT_EQ(messages, QStringList{not_switched});
    EXPECT_TRUE(selected(kProfile1));
    EXPECT_FALSE(selected(kProfile2));
    EXPECT_EQ(window->current_profile(), 0);
    EXPECT_EQ(window->panel_profile(), 0);
    EXPECT_TRUE(notice_shown()) << "the lighting could not be read either";

    simctl({"fault", "none"});
    window->button(kRate2)->click();
    ASSERT_TRUE(wait_for([this] { return memory_byte("settings.bin", kRateByteProfile1) == 2; }));
    settle();
    EXPECT_EQ(memory_byte("settings.bin", kRateByteProfile2), profile2_rate);
    EXPECT_EQ(memory_byte("parameters.bin", 10), 0);
}

TEST_F(KeyboardOutcomeWindow, ReportRateOnASilentKeyboardGoesBackToTheStoredRate) {
    const std::uint8_t rate = memory_byte("settings.bin", kRateByteProfile1);
    const int stored_rate = stored_rate_button();
    ASSERT_NE(stored_rate, kRate2);
    simctl({"fault", "no-answer"});
    window->button(kRate2)->click();
    EXPECT_TRUE(selected(kRate2)) << "shown before the keyboard answers";
    ASSERT_TRUE(wait_for([&] { return selected(stored_rate) && notice_shown(); }));
    EXPECT_FALSE(selected(kRate2));
    EXPECT_EQ(window->lighting().notice()->text(), own(outcome_text::kLightingWriteFailed));
    EXPECT_EQ(memory_byte("settings.bin", kRateByteProfile1), rate);
    EXPECT_TRUE(messages.isEmpty()) << "told on the panel, not in a message box";
}

TEST_F(KeyboardOutcomeWindow, ApplyOnAnUnpluggedKeyboardKeepsTheEditForWhenItIsBack) {
    edit_a(0);
    simctl({"unplug"});
    ASSERT_TRUE(wait_for([this] { return window->connected_count() == 0; }));
    window->button(MainControl::Apply)->click();
    settle();
    EXPECT_EQ(messages, QStringList{own(outcome_text::kGone)});
    EXPECT_TRUE(apply_enabled());

    simctl({"plug"});
    ASSERT_TRUE(wait_for([this] { return window->connected_count() == 1; }));
    settle();
    EXPECT_TRUE(questions.isEmpty()) << "the keyboard holds what it held before";
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Disabled));
    EXPECT_TRUE(apply_enabled());
    EXPECT_EQ(stored_a(0), kFactoryA);

    window->button(MainControl::Apply)->click();
    ASSERT_TRUE(wait_for([this] { return !apply_enabled(); }));
    EXPECT_EQ(stored_a(0), kDisabled);
}

// An Apply the keyboard took only part of (the active profile's A written, the rest refused), then
// the keyboard away and back: it now holds something else than the window last read from it.
class TornApplyWindow : public KeyboardOutcomeWindow {
protected:
    void tear_an_apply() {
        edit_a(0);
        edit_a(1); // Apply sends only the active profile: this edit stays in the window alone
        // The transfer's start and the macro block, then the profile's chunks of 56 bytes up
        // to the one holding A; the next is refused.
        const std::size_t good = 2 + a_position() * 3 / 56 + 1;
        simctl({"fault", "status-ff", "3", QString::number(good)});
        window->button(MainControl::Apply)->click();
        settle();
        ASSERT_EQ(messages,
                  QStringList{QString::fromLatin1(ProfilePanel::kApplyFailedText.built_in)});
        ASSERT_EQ(stored_a(0), kDisabled) << "the keyboard took part of the Apply";
        ASSERT_TRUE(apply_enabled());
        simctl({"fault", "none"});
        unplug_and_plug();
        ASSERT_EQ(questions, QStringList{own(outcome_text::kKeyboardChanged)});
    }
};

TEST_F(TornApplyWindow, KeepingTheChangesLeavesThemForApply) {
    answer = true;
    tear_an_apply();
    EXPECT_TRUE(apply_enabled());
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Disabled));
    EXPECT_EQ(stored_a(1), kFactoryA);
}

TEST_F(TornApplyWindow, DroppingTheChangesShowsWhatTheKeyboardHolds) {
    answer = false;
    tear_an_apply();
    EXPECT_FALSE(apply_enabled());
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Disabled)) << "the part the keyboard took";
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Default));
}

TEST_F(KeyboardOutcomeWindow, UnreadableImportIsToldOnceWithItsFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads a file whatever its permissions";
    }
    const std::filesystem::path file = folder.filePath("locked.tvp").toStdString();
    ASSERT_TRUE(save_profile_file(file, configuration));
    std::filesystem::permissions(file, std::filesystem::perms::none);
    chosen_file = QString::fromStdString(file.string());
    const std::size_t before = traffic_lines();
    panel->import_file();
    settle();
    ASSERT_EQ(messages.size(), 1) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(messages[0].contains(chosen_file)) << messages[0].toStdString();
    EXPECT_EQ(traffic_lines(), before);
}

TEST_F(KeyboardOutcomeWindow, ImportWithoutItsCopyFolderNamesTheFolder) {
    edit_a(1);
    const std::filesystem::path file = folder.filePath("import.tvp").toStdString();
    ASSERT_TRUE(save_profile_file(file, configuration));
    window->button(MainControl::Apply)->setEnabled(false);
    std::filesystem::remove_all(storage.folder());
    std::ofstream(storage.folder()) << "not a folder";
    chosen_file = QString::fromStdString(file.string());
    panel->import_file();
    settle();
    ASSERT_EQ(messages.size(), 1) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(messages[0].contains(QString::fromStdString(storage.folder().string())))
        << messages[0].toStdString();
    EXPECT_NE(messages[0], QString::fromLatin1(ProfilePanel::kNoCopyText.built_in))
        << "the keyboard was read; the copy could not be saved";
    EXPECT_EQ(stored_a(1), kFactoryA) << "nothing written without a copy";
}

TEST_F(KeyboardOutcomeWindow, UnwritableMirrorIsToldWithItsPathAndTheKeyboardHasTheChange) {
    const std::filesystem::path mirror = storage.mirror_path();
    std::filesystem::remove(mirror);
    ASSERT_TRUE(std::filesystem::create_directory(mirror));
    edit_a(0);
    window->button(MainControl::Apply)->click();
    ASSERT_TRUE(wait_for([this] { return !apply_enabled(); }));
    settle();
    EXPECT_EQ(stored_a(0), kDisabled);
    ASSERT_EQ(messages.size(), 1) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(messages[0].contains(QString::fromStdString(mirror.string())))
        << messages[0].toStdString();
}

// A keyboard that answers slowly, so that its reads on arrival take a while.
class SlowArrivalWindow : public VirtualKeyboardWindow {
protected:
    void SetUp() override {
        VirtualKeyboardWindow::SetUp();
        setenv("TARVENOR_SIM_LATENCY_MS", "20", 1);
    }
    void TearDown() override {
        unsetenv("TARVENOR_SIM_LATENCY_MS");
        VirtualKeyboardWindow::TearDown();
    }
};

TEST_F(SlowArrivalWindow, OpeningWhileTheKeyboardIsReadWaitsForItInsteadOfSayingThereIsNone) {
    start(true);
    ASSERT_TRUE(wait_for([this] { return window->busy_bar().animating(); }));
    ASSERT_EQ(window->connected_count(), 0) << "the arrival's reads are still running";
    window->open_window(); // tray "Open"
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(wait_for([this] { return window->isVisible(); }));
    EXPECT_EQ(window->connected_count(), 1);
    EXPECT_EQ(window->current_profile(), 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
}

} // namespace
} // namespace tarvenor::testing
