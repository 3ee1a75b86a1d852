#include "virtual_keyboard_window.h"

#include "map_settings.h"
#include "model/profile_file.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/profile_backup.h"
#include "ui/logic/profile_controls.h"
#include "ui/main/profile_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

namespace tarvenor::testing {
namespace {

constexpr int kSlotA = 0x1E;

// The window with its profile controls wired as the program wires them, on the virtual
// keyboard; questions are answered and files chosen by the test.
class ProfilePanelWindow : public VirtualKeyboardWindow {
protected:
    void SetUp() override {
        VirtualKeyboardWindow::SetUp();
        setenv("TARVENOR_SIM_TRAFFIC", folder.filePath("traffic").toUtf8().constData(), 1);
        panel = new ProfilePanel(*window, {configuration, storage, settings, language, texts});
        panel->set_question([this](const QString& text) {
            questions << text;
            return answer;
        });
        panel->set_file_chooser([this](bool, const QString&) { return chosen_file; });
        start(false);
        ASSERT_TRUE(wait_for([this] { return window->current_profile() == 0; }));
        settle();
    }
    void TearDown() override {
        unsetenv("TARVENOR_SIM_TRAFFIC");
        VirtualKeyboardWindow::TearDown();
    }

    // Waits until every job posted so far has run and its result reached the window.
    void settle() {
        bool done = false;
        window->run_keyboard_job([](CommandSet&) {}, [&done] { done = true; });
        ASSERT_TRUE(wait_for([&done] { return done; }));
    }
    std::size_t traffic_lines() const {
        std::ifstream in(folder.filePath("traffic").toStdString());
        return static_cast<std::size_t>(
            std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
    }
    std::uint8_t memory_byte(const char* file, std::size_t offset) const {
        std::ifstream in((sim_dir + "/" + file).toStdString(), std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset));
        return static_cast<std::uint8_t>(in.get());
    }
    KeyAssignment entry(int profile, int slot) const {
        std::scoped_lock lock(configuration.lock());
        return configuration.entry(flat_entry(profile, slot));
    }
    void edit_a(int profile) {
        KeyAssignment disabled;
        disabled.type = static_cast<std::uint16_t>(AssignmentType::Disabled);
        {
            std::scoped_lock lock(configuration.lock());
            configuration.assign(flat_entry(profile, kSlotA), disabled);
        }
        window->button(MainControl::Apply)->setEnabled(true);
    }
    bool apply_enabled() const { return window->button(MainControl::Apply)->isEnabled(); }

    MapSettings settings;
    ProfilePanel* panel = nullptr;
    QStringList questions;
    bool answer = false;
    QString chosen_file;
};

TEST_F(ProfilePanelWindow, OkWithNothingChangedHidesTheWindowAndWritesNothing) {
    ASSERT_TRUE(window->isVisible());
    const std::size_t before = traffic_lines();
    window->button(MainControl::Ok)->click();
    settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(traffic_lines(), before);
}

TEST_F(ProfilePanelWindow, OkWithChangesDownloadsThenHides) {
    edit_a(0);
    window->button(MainControl::Ok)->click();
    settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(apply_enabled());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ProfilePanelWindow, FailedApplyLeavesApplyEnabledAndSaysSo) {
    edit_a(0);
    simctl({"fault", "status-ff", "3", "2"});
    window->button(MainControl::Apply)->click();
    settle();
    EXPECT_TRUE(apply_enabled());
    EXPECT_TRUE(messages.contains(QString::fromLatin1(ProfilePanel::kApplyFailedText.built_in)));
}

// A keyboard with 128 bytes of macro memory.
class SmallMacroMemoryWindow : public ProfilePanelWindow {
protected:
    void SetUp() override {
        QDir().mkpath(folder.filePath("sim"));
        std::ofstream parameters(folder.filePath("sim/parameters.bin").toStdString(),
                                 std::ios::binary);
        std::array<char, 44> block{};
        block[11] = 1;
        parameters.write(block.data(), block.size());
        parameters.close();
        ProfilePanelWindow::SetUp();
    }

    // A given to a macro of `actions` actions named `name`.
    void give_a_macro(int actions, std::u16string name) {
        {
            std::scoped_lock lock(configuration.lock());
            MacroRecord macro;
            macro.id = 1;
            macro.name = std::move(name);
            macro.actions.assign(static_cast<std::size_t>(actions),
                                 MacroAction{50, 0x1E, MacroAction::kDown});
            configuration.macros() = {macro};
            KeyAssignment played;
            played.type = static_cast<std::uint16_t>(AssignmentType::Macro);
            played.param = 1;
            configuration.assign(flat_entry(0, kSlotA), played);
        }
        window->button(MainControl::Apply)->setEnabled(true);
    }
};

TEST_F(SmallMacroMemoryWindow, MacrosThatCannotFitAreRefusedWithTheMessageAndNothingWritten) {
    give_a_macro(40, u"M");
    const std::size_t before = traffic_lines();
    window->button(MainControl::Apply)->click();
    settle();
    EXPECT_TRUE(messages.contains(QString::fromStdString(texts.text(TextKey::ExtraMacroTooLong))))
        << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(traffic_lines(), before);
    EXPECT_TRUE(apply_enabled());
}

TEST_F(SmallMacroMemoryWindow, MacroNamesLeftOutAreToldAndTheRestIsWritten) {
    // 102 bytes without the name, 142 with it.
    give_a_macro(20, u"AVeryLongMacroName20");
    window->button(MainControl::Apply)->click();
    settle();
    EXPECT_TRUE(
        messages.contains(QString::fromStdString(texts.text(TextKey::ExtraProfileSpaceTight))))
        << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(apply_enabled());
    EXPECT_EQ(memory_byte("macros.bin", 4), 1);
}

TEST_F(ProfilePanelWindow, RestoreDefaultsAnsweredNoChangesNothing) {
    edit_a(0);
    const std::size_t before = traffic_lines();
    answer = false;
    window->button(MainControl::Default)->click();
    settle();
    EXPECT_EQ(questions,
              QStringList{QString::fromStdString(texts.text(TextKey::MainPromptDefault))});
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Disabled));
    EXPECT_TRUE(apply_enabled());
    EXPECT_EQ(traffic_lines(), before);
    EXPECT_TRUE(KeyboardCopies(storage).list().empty());
}

TEST_F(ProfilePanelWindow, RestoreDefaultsAnsweredYesKeepsACopyAndApplies) {
    edit_a(0);
    answer = true;
    window->button(MainControl::Default)->click();
    settle();
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Default));
    EXPECT_FALSE(apply_enabled());
    EXPECT_EQ(KeyboardCopies(storage).list().size(), 1u);
}

TEST_F(ProfilePanelWindow, SwitchIsRefusedWhileTheAssignmentDialogIsOpen) {
    panel->set_editor_open([] { return true; });
    window->button(1136)->click();
    settle();
    EXPECT_EQ(messages,
              QStringList{QString::fromStdString(texts.text(TextKey::ProfileSelectPrompt2))});
    EXPECT_EQ(window->current_profile(), 0);
    EXPECT_EQ(memory_byte("parameters.bin", 10), 0);
    EXPECT_TRUE(window->button(1135)->selected());
    EXPECT_EQ(window->panel_profile(), 1); // the panel already shows the chosen profile
}

TEST_F(ProfilePanelWindow, SwitchWithChangesAnsweredNoDropsThemAndSwitches) {
    edit_a(0);
    answer = false;
    window->button(1137)->click();
    settle();
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(memory_byte("parameters.bin", 10), 2);
    EXPECT_EQ(window->current_profile(), 2);
    EXPECT_TRUE(window->button(1137)->selected());
    EXPECT_FALSE(window->button(1135)->selected());
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Default));
    EXPECT_FALSE(apply_enabled());
}

TEST_F(ProfilePanelWindow, ReportRateButtonWritesThePanelProfilesByte) {
    window->button(1136)->click(); // profile 2: the panel shows profile 1
    window->button(1169)->click(); // choice 2
    settle();
    EXPECT_EQ(memory_byte("settings.bin", 42 + 15), 2);
    EXPECT_TRUE(window->button(1169)->selected());
    EXPECT_FALSE(window->button(1147)->selected());
}

TEST_F(ProfilePanelWindow, FlipStoredAsFiveShowsOnAndTogglesToZero) {
    settings.values["Flip"] = "5";
    window->button(1130)->click();
    EXPECT_EQ(settings.values.at("Flip"), "0");
    EXPECT_TRUE(window->button(1010)->isEnabled());
    window->button(1131)->click();
    EXPECT_EQ(settings.values.at("Flip"), "1");
    EXPECT_FALSE(window->button(1010)->isEnabled());
}

// D1..D6 share the F1..F4 row; a click there must land on the group Flip has enabled.
TEST_F(ProfilePanelWindow, FlipShowsOnlyTheEnabledKeyGroup) {
    const QRect f_row = window->button(1010)->geometry().united(window->button(1013)->geometry());
    for (const int id : control::kDKeys) {
        ASSERT_NE(window->button(id), nullptr);
        EXPECT_TRUE(f_row.contains(window->button(id)->geometry())) << id;
    }
    const QPoint over_f1 = window->button(1010)->geometry().center();
    window->button(1130)->click(); // Flip on
    ASSERT_EQ(settings.values.at("Flip"), "1");
    EXPECT_TRUE(window->button(1016)->isEnabled());
    EXPECT_TRUE(window->button(1010)->isHidden());
    EXPECT_NE(window->childAt(over_f1), window->button(1010));
    EXPECT_TRUE(std::ranges::count(control::kDKeys,
                                   window->childAt(over_f1)->property("control_id").toInt()));
    window->button(1130)->click(); // Flip off
    EXPECT_FALSE(window->button(1016)->isEnabled());
    EXPECT_TRUE(window->button(1016)->isHidden());
    EXPECT_EQ(window->childAt(over_f1), window->button(1010));
}

TEST_F(ProfilePanelWindow, ImportOntoAKeyboardFailingHalfWayLeavesApplyEnabledAndSaysSo) {
    edit_a(1);
    const std::filesystem::path file = folder.filePath("import.tvp").toStdString();
    ASSERT_TRUE(save_profile_file(file, configuration, true));
    window->button(MainControl::Apply)->setEnabled(false);
    chosen_file = QString::fromStdString(file.string());
    // Copy: 22 reads; then Begin, the macro block, profile 0: profile 1's first chunk fails.
    simctl({"fault", "status-ff", "3", QString::number(22 + 1 + 1 + 7)});
    panel->import_file();
    settle();
    EXPECT_TRUE(apply_enabled());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("The keyboard did not take")));
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Default)); // what the keyboard holds
}

TEST_F(ProfilePanelWindow, DamagedImportChangesNothing) {
    const std::filesystem::path file = folder.filePath("damaged.tvp").toStdString();
    std::ofstream(file, std::ios::binary) << "FD not a profile file";
    chosen_file = QString::fromStdString(file.string());
    const std::size_t before = traffic_lines();
    panel->import_file();
    settle();
    EXPECT_EQ(traffic_lines(), before);
    EXPECT_EQ(messages, QStringList{QString::fromStdString(texts.text(TextKey::MainPromptImport))});
    EXPECT_FALSE(apply_enabled());
}

TEST_F(ProfilePanelWindow, ExportWritesTheConfigurationAndSaysWhenItCannot) {
    edit_a(2);
    chosen_file = folder.filePath("export.tvp");
    panel->export_file();
    Configuration exported;
    {
        std::scoped_lock lock(exported.lock());
        ASSERT_TRUE(load_profile_file(chosen_file.toStdString(), exported));
        EXPECT_TRUE(exported.entry(flat_entry(2, kSlotA)).is(AssignmentType::Disabled));
        EXPECT_TRUE(exported.entry(flat_entry(1, kSlotA)).is(AssignmentType::Default));
    }
    EXPECT_TRUE(messages.isEmpty());

    chosen_file = folder.filePath("missing-folder/export.tvp");
    panel->export_file();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(chosen_file)) << messages[0].toStdString();
}

TEST_F(ProfilePanelWindow, F1InTheProfileManagerOpensTheHelp) {
    QTimer::singleShot(0, [this] {
        ProfileManagerDialog* manager = panel->profile_manager();
        ASSERT_NE(manager, nullptr);
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(manager, &f1);
        manager->reject();
    });
    window->button(MainControl::Profiles)->click();
    EXPECT_EQ(opened, QStringList{"file:///opt/help/index.html"});
}

TEST_F(ProfilePanelWindow, TheProfileManagerListsThreeRowsAndRefusesAFourthAsActive) {
    QTimer::singleShot(0, [this] {
        ProfileManagerDialog* manager = panel->profile_manager();
        ASSERT_NE(manager, nullptr);
        EXPECT_EQ(manager->list_view()->topLevelItemCount(), 3);
        // Captions follow the language file, English here.
        const QTreeWidgetItem* header = manager->list_view()->headerItem();
        EXPECT_EQ(QStringList({header->text(0), header->text(1), header->text(2)}),
                  QStringList({"Active", "Name", "Path"}));
        EXPECT_EQ(manager->list_view()->topLevelItem(0)->checkState(0), Qt::Checked);
        chosen_file = folder.filePath("other.tvp");
        manager->button(ProfileManagerControl::Load)->click();
        manager->list_view()->topLevelItem(3)->setCheckState(0, Qt::Checked);
        EXPECT_EQ(manager->list().checked(), 0);
        manager->button(ProfileManagerControl::Ok)->click();
    });
    window->button(MainControl::Profiles)->click();
    settle();
    EXPECT_TRUE(
        messages.contains(QString::fromLatin1(ProfileManagerDialog::kBeyondProfilesText.built_in)));
    EXPECT_EQ(settings.values.at("PROFILE00"), "4");
    EXPECT_EQ(memory_byte("parameters.bin", 10), 0);
    EXPECT_EQ(window->button(MainControl::Profiles)->text(), "$Profile0");
}

} // namespace
} // namespace tarvenor::testing
