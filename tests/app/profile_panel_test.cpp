#include "profile_panel_window.h"

#include "engine/keyboard_copies.h"
#include "model/profile_file.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/profile_controls.h"
#include "ui/logic/skin_keys.h"
#include "ui/main/busy_bar.h"
#include "ui/main/lighting_panel.h"
#include "ui/main/profile_panel.h"
#include "ui/skin/skin_rect.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

namespace tarvenor::testing {
namespace {

std::string file_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(ProfilePanelWindow, OkWithNothingChangedHidesTheWindowAndWritesNothing) {
    ASSERT_TRUE(window->isVisible());
    const std::size_t before = traffic_lines();
    window->button(MainControl::Ok)->click();
    EXPECT_TRUE(window->busy_bar().isVisibleTo(window.get()))
        << "the busy bar shows briefly all the same: the click is seen to be taken";
    settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(traffic_lines(), before);
    EXPECT_TRUE(wait_for([this] { return !window->busy_bar().isVisibleTo(window.get()); }));
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

// The profile controls and the lighting panel wired to each other as the program wires them.
class WiredPanelsWindow : public ProfilePanelWindow {
protected:
    void before_start() override {
        LightingPanelLogic& logic = window->lighting().logic();
        panel->set_lighting_hooks([&logic](int profile) { logic.show_profile(profile); },
                                  [&logic] { logic.reset_lighting(); });
    }
    LightingPanelLogic& lighting() { return window->lighting().logic(); }
};

TEST_F(WiredPanelsWindow, RestoreDefaultsResetsTheLightingOnlyWithTheSwitchOn) {
    lighting().click_light_switch();
    lighting().move_brightness(2);
    lighting().turn_switch_off();
    settle();
    ASSERT_EQ(memory_byte("settings.bin", 1), 2);
    answer = true;
    window->button(MainControl::Default)->click();
    settle();
    EXPECT_EQ(memory_byte("settings.bin", 1), 2) << "the switch is off: the lighting stays";
    EXPECT_EQ(KeyboardCopies(storage).list().size(), 1u) << "the keys were restored";

    lighting().click_light_switch();
    window->button(MainControl::Default)->click();
    settle();
    EXPECT_EQ(memory_byte("settings.bin", 1), 4) << "the lighting reset's brightness";
}

// Light caption pixels inside a key as the window shows it, its frame and edge left out.
int caption_ink(const QImage& shot, const QRect& key) {
    int ink = 0;
    const qreal ratio = shot.devicePixelRatio();
    const QRectF logical = QRectF(key.adjusted(4, 4, -4, -4));
    const QRect inside((logical.topLeft() * ratio).toPoint(), (logical.size() * ratio).toSize());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ink += qGray(shot.pixel(x, y)) > 160 ? 1 : 0;
        }
    }
    return ink;
}

// In the per-key effect a key is drawn as a frame over the background: whichever key set Flip
// shows in the F1..F4 row, each of its keys keeps its caption, and D1..D6 are framed too.
TEST_F(WiredPanelsWindow, EveryKeyOfTheFunctionRowShowsItsCaptionInEveryMode) {
    const std::vector<int> row_keys = {1010, 1011, 1012, 1013, 1016, 1017, 1018, 1019, 1020, 1021};
    const auto expect_captions = [&](const char* mode, std::size_t shown) {
        QCoreApplication::processEvents();
        const QImage shot = window->grab().toImage();
        std::size_t visible = 0;
        for (const int id : row_keys) {
            const ImageButton* key = window->button(id);
            if (key->isHidden()) {
                continue;
            }
            ++visible;
            EXPECT_GE(caption_ink(shot, key->geometry()), 8) << mode << ": key " << id;
        }
        EXPECT_EQ(visible, shown) << mode;
    };
    expect_captions("plain", 4);
    lighting().click_light_switch();
    const auto& effects = lighting().effect_list();
    lighting().select_effect(static_cast<int>(std::ranges::find(effects, 20) - effects.begin()));
    ASSERT_TRUE(window->button(1010)->outline_on());
    expect_captions("per-key", 4);
    window->button(1130)->click(); // Flip on
    for (const int id : control::kDKeys) {
        EXPECT_TRUE(window->button(id)->outline_on()) << "D key " << id << " framed";
    }
    expect_captions("per-key, Flip on", 6);
    lighting().turn_switch_off();
    expect_captions("Flip on", 6);
    window->button(1130)->click(); // Flip off
    expect_captions("plain again", 4);
}

TEST_F(ProfilePanelWindow, TheReportRateButtonsHaveTheirCaptionAndThePresetsShowTheFirst) {
    const auto* label =
        window->findChild<QLabel*>(QString::fromLatin1(skin_keys::main_window::kReportRateLabel));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Report rate"));
    const SkinRect place = parse_skin_rect(window->skin().get("BUTTONINFO", "CONTROL_UsbStatic"));
    EXPECT_EQ(label->geometry(), QRect(place.x, place.y, place.w, place.h));
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(window->lighting().preset_box()->currentIndex(), 0);
    EXPECT_EQ(window->lighting().preset_box()->currentText(), QStringLiteral("FPS"));
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

TEST_F(ProfilePanelWindow, AFollowingSwitchWaitsForEditsAndDialogsAndNeverAsks) {
    EXPECT_FALSE(panel->automatic_switch_waits());
    edit_a(0);
    EXPECT_TRUE(panel->automatic_switch_waits()); // the edits would be left behind
    window->button(MainControl::Apply)->setEnabled(false);
    panel->set_editor_open([] { return true; });
    EXPECT_TRUE(panel->automatic_switch_waits());
    panel->set_editor_open([] { return false; });

    int ended = -1;
    panel->follow_profile(2, [&ended](int profile) { ended = profile; });
    EXPECT_TRUE(panel->automatic_switch_waits()); // its own job runs
    settle();
    EXPECT_EQ(ended, 2);
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(memory_byte("parameters.bin", 10), 2);
    EXPECT_TRUE(window->button(1137)->selected());
    EXPECT_EQ(window->panel_profile(), 2);
}

TEST_F(ProfilePanelWindow, AProfileChosenByHandIsToldOnlyWhenItIsAnother) {
    QList<int> chosen;
    panel->set_chosen_by_hand([&chosen](int profile) { chosen << profile; });
    window->button(1135)->click(); // already active
    window->button(1136)->click();
    settle();
    EXPECT_EQ(chosen, QList<int>{1});
}

TEST_F(ProfilePanelWindow, ReportRateButtonWritesThePanelProfilesByte) {
    window->button(1136)->click(); // profile 2: the panel shows profile 1
    window->button(1169)->click(); // choice 2
    settle();
    EXPECT_EQ(memory_byte("settings.bin", 42 + 15), 2);
    EXPECT_TRUE(window->button(1169)->selected());
    EXPECT_FALSE(window->button(1147)->selected());
}

TEST_F(ProfilePanelWindow, SettingsThatCannotBeSavedAreToldAndTheControlsShowWhatIsStored) {
    settings.read_only = true;
    window->button(1130)->click(); // Flip
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("the test's settings")))
        << messages[0].toStdString();
    EXPECT_TRUE(window->button(1010)->isEnabled()) << "Flip still off, as stored";

    // The lighting switch lives in the per-user settings file: a folder in its place.
    std::filesystem::remove(storage.settings_file());
    std::filesystem::create_directories(storage.settings_file() / "inside");
    window->lighting().logic().click_light_switch();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(QString::fromStdString(storage.settings_file().string())))
        << messages[1].toStdString();
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
    ASSERT_TRUE(save_profile_file(file, configuration));
    window->button(MainControl::Apply)->setEnabled(false);
    chosen_file = QString::fromStdString(file.string());
    // Copy: 22 reads; then Begin, the macro block, profile 0: profile 1's first chunk fails.
    simctl({"fault", "status-ff", "3", QString::number(22 + 1 + 1 + 7)});
    panel->import_file();
    // The failure is told, then the keyboard is read again behind it.
    ASSERT_TRUE(wait_for([this] { return apply_enabled(); }));
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

// A body damaged after the header was written: the checksum cannot see it, the entry's type can.
TEST_F(ProfilePanelWindow, ImportOfADamagedBodyNamesTheKeyAndChangesNothing) {
    Configuration damaged = configuration;
    damaged.assign(flat_entry(1, kSlotA), KeyAssignment{58171, 0, 0, 0, 0});
    const std::filesystem::path file = folder.filePath("body.tvp").toStdString();
    ASSERT_TRUE(save_profile_file(file, damaged));
    chosen_file = QString::fromStdString(file.string());
    const std::size_t before = traffic_lines();
    panel->import_file();
    settle();
    EXPECT_EQ(traffic_lines(), before);
    EXPECT_EQ(messages, QStringList{QStringLiteral("The profile file ") + chosen_file +
                                    QStringLiteral(" is damaged: the key A of profile 2 holds a "
                                                   "function of type 58171, which the program "
                                                   "does not know. Nothing was imported.")});
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Default));
    EXPECT_FALSE(apply_enabled());
}

// Discard goes back to the mirror; a damaged mirror is kept aside and the keyboard read again,
// so the window shows what the keyboard holds and not the defaults.
TEST_F(ProfilePanelWindow, SwitchAnsweredNoWithADamagedMirrorShowsTheKeyboardAndKeepsTheFile) {
    // The keyboard holds an edit the defaults do not.
    edit_a(0);
    window->button(MainControl::Apply)->click();
    settle();
    ASSERT_FALSE(apply_enabled());
    Configuration damaged = configuration;
    damaged.assign(flat_entry(2, 0x30), KeyAssignment{9, 0, 0, 0, 0});
    ASSERT_TRUE(save_profile_file(storage.mirror_path(), damaged));
    const std::string damaged_bytes = file_text(storage.mirror_path());
    edit_a(1);
    answer = false;
    window->button(1137)->click();
    const std::filesystem::path kept = storage.mirror_path().string() + ".damaged";
    ASSERT_TRUE(wait_for([&] { return !messages.isEmpty(); }));
    settle();
    EXPECT_EQ(memory_byte("parameters.bin", 10), 2);
    EXPECT_EQ(messages, QStringList{QStringLiteral("The profile file ") +
                                    QString::fromStdString(storage.mirror_path().string()) +
                                    QStringLiteral(" is damaged: the key B of profile 3 holds a "
                                                   "function of type 9, which the program does "
                                                   "not know. It was kept as ") +
                                    QString::fromStdString(kept.string()) +
                                    QStringLiteral(", and the keyboard's settings were saved in "
                                                   "its place.")});
    EXPECT_EQ(file_text(kept), damaged_bytes);
    EXPECT_FALSE(find_damaged_entry_in_file(storage.mirror_path()));
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Disabled)) << "what the keyboard holds";
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Default)) << "the edit is dropped";
    EXPECT_FALSE(apply_enabled());
}

// A mirror left damaged by an earlier run, met when the keyboard arrives.
class DamagedMirrorWindow : public ProfilePanelWindow {
protected:
    void before_start() override {
        ASSERT_TRUE(storage.ensure_user_folder());
        Configuration damaged = default_configuration();
        damaged.assign(flat_entry(0, kSlotA), KeyAssignment{0xFFFF, 0, 0, 0, 0});
        ASSERT_TRUE(save_profile_file(storage.mirror_path(), damaged));
    }
};

TEST_F(DamagedMirrorWindow, IsKeptAsideOnArrivalAndTheUserIsTold) {
    ASSERT_TRUE(wait_for([this] { return !messages.isEmpty(); }));
    const std::filesystem::path kept = storage.mirror_path().string() + ".damaged";
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("is damaged: the key A of profile 1 holds a "
                                                    "function of type 65535")))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QString::fromStdString(kept.string())));
    EXPECT_EQ(find_damaged_entry_in_file(kept), (DamagedEntry{flat_entry(0, kSlotA), 0xFFFF}));
    EXPECT_FALSE(find_damaged_entry_in_file(storage.mirror_path()));
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Default)) << "what the keyboard holds";
}

TEST_F(ProfilePanelWindow, ExportWritesTheConfigurationAndSaysWhenItCannot) {
    edit_a(2);
    chosen_file = folder.filePath("export.tvp");
    panel->export_file();
    EXPECT_EQ(asked_purposes, std::vector{ProfileFilePurpose::Export});
    Configuration exported;
    {
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

TEST_F(ProfilePanelWindow, F1InTheProfileManagerOpensTheHelpOrSaysWhyNotOverTheManager) {
    int failures_shown = -1;
    QTimer::singleShot(0, [this, &failures_shown] {
        ProfileManagerDialog* manager = panel->profile_manager();
        ASSERT_NE(manager, nullptr);
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(manager, &f1);
        desktop_opens = false;
        QApplication::sendEvent(manager, &f1);
        const auto boxes = manager->findChildren<QMessageBox*>(QStringLiteral("open_failed"),
                                                               Qt::FindDirectChildrenOnly);
        failures_shown = static_cast<int>(boxes.size());
        if (!boxes.isEmpty()) {
            EXPECT_TRUE(boxes[0]->text().contains(TARVENOR_HELP_FILE))
                << boxes[0]->text().toStdString();
        }
        manager->reject();
    });
    window->button(MainControl::Profiles)->click();
    const QString help = QUrl::fromLocalFile(TARVENOR_HELP_FILE).toString();
    EXPECT_EQ(opened, (QStringList{help, help}));
    EXPECT_EQ(failures_shown, 1);
    EXPECT_TRUE(messages.isEmpty());
}

// Nothing a user does in the list erases a row: not a double click on a name, not typing after
// it, and the rows are whole again on the next opening.
TEST_F(ProfilePanelWindow, DoubleClickingANameLeavesTheRowIntact) {
    const auto rows = [this] {
        QStringList texts;
        QTreeWidget* view = panel->profile_manager()->list_view();
        for (int r = 0; r < view->topLevelItemCount(); ++r) {
            texts << view->topLevelItem(r)->text(1) + QLatin1Char('|') +
                         view->topLevelItem(r)->text(2);
        }
        return texts;
    };
    QStringList before;
    QTimer::singleShot(0, [&] {
        ProfileManagerDialog* manager = panel->profile_manager();
        QTreeWidget* view = manager->list_view();
        before = rows();
        const QPoint name = view->visualItemRect(view->topLevelItem(1)).topLeft() +
                            QPoint(view->columnViewportPosition(1) + 10, 5);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, name);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("xyz"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(rows(), before);
        EXPECT_EQ(view->indexWidget(view->model()->index(1, 1)), nullptr);
        // The selected row stays readable: its name stands out from the cell's background.
        const QImage cell =
            view->viewport()->grab(view->visualRect(view->model()->index(1, 1))).toImage();
        const int background = qGray(cell.pixel(1, cell.height() / 2));
        int ink = 0;
        for (int y = 0; y < cell.height(); ++y) {
            for (int x = 0; x < cell.width(); ++x) {
                ink += std::abs(qGray(cell.pixel(x, y)) - background) > 100 ? 1 : 0;
            }
        }
        EXPECT_GE(ink, 8) << "the selected name is drawn in the colour of its background";
        manager->button(ProfileManagerControl::Cancel)->click();
    });
    window->button(MainControl::Profiles)->click();
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(rows(), before) << "whole again on the next opening";
        panel->profile_manager()->button(ProfileManagerControl::Cancel)->click();
    });
    window->button(MainControl::Profiles)->click();
    ASSERT_EQ(before.size(), 3);
    EXPECT_FALSE(before[0].startsWith(QLatin1Char('|')));
}

// Delete asks before a row naming a file goes; No keeps it, Yes removes it and leaves the file.
TEST_F(ProfilePanelWindow, DeletingARowAsksFirst) {
    QTimer::singleShot(0, [&] {
        ProfileManagerDialog* manager = panel->profile_manager();
        QTreeWidget* view = manager->list_view();
        view->setCurrentItem(view->topLevelItem(2));
        answer = false;
        manager->button(ProfileManagerControl::Delete)->click();
        EXPECT_EQ(view->topLevelItemCount(), 3);
        answer = true;
        manager->button(ProfileManagerControl::Delete)->click();
        EXPECT_EQ(view->topLevelItemCount(), 2);
        manager->button(ProfileManagerControl::Cancel)->click();
    });
    window->button(MainControl::Profiles)->click();
    ASSERT_EQ(questions.size(), 2);
    const QString mirror = QString::fromStdString(storage.mirror_path(0).stem().string());
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("Remove ")) &&
                questions[0].contains(mirror + QStringLiteral(".tvp from the list?")))
        << questions[0].toStdString();
    EXPECT_TRUE(std::filesystem::exists(storage.mirror_path(0)));
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
        EXPECT_EQ(manager->windowTitle(), "Profiles");
        EXPECT_EQ(manager->findChild<QLabel*>("LABEL_TITLE")->text(), "Profiles");
        EXPECT_EQ(manager->button(ProfileManagerControl::Add)->text(), "Add");
        EXPECT_EQ(manager->button(ProfileManagerControl::Cancel)->text(), "Cancel");
        EXPECT_EQ(manager->list_view()->topLevelItem(0)->checkState(0), Qt::Checked);
        chosen_file = folder.filePath("other.tvp");
        manager->button(ProfileManagerControl::Load)->click();
        EXPECT_EQ(asked_purposes, std::vector{ProfileFilePurpose::LoadProfile});
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
