#include "window_fixture.h"

#include "model/ini_file.h"
#include "model/key_codes.h"
#include "model/text_table.h"
#include "ui/logic/keyboard_map.h"
#include "ui/main/busy_bar.h"
#include "ui/main/profile_file_dialog.h"
#include "ui/skin/skin_rect.h"

#include <QDialog>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

#include <thread>

namespace tarvenor::testing {
namespace {

// What an arrival read would hand the window.
KeyboardState state_of(std::optional<Configuration> configuration, int profile) {
    KeyboardState state;
    state.configuration = std::move(configuration);
    state.current_profile = profile;
    return state;
}

int control_of(KeyCode code) {
    for (const KeyboardKey& key : keyboard_key_list()) {
        if (key.code == code) {
            return key.control_id;
        }
    }
    return 0;
}

TEST_F(WindowTest, KeysSitWhereTheSkinPlacesThem) {
    // A, Insert, right Ctrl, number pad Enter, Num Lock, Pause; a G key and Fn.
    const std::pair<int, const char*> keys[] = {{control_of(0x01E), "KEY_01E"},
                                                {control_of(0x152), "KEY_0D2"},
                                                {control_of(0x11D), "KEY_09D"},
                                                {control_of(0x11C), "KEY_09C"},
                                                {control_of(0x145), "KEY_0C5"},
                                                {control_of(0x045), "KEY_045"},
                                                {1000, "FUNC_G1"},
                                                {id_of(MainControl::Fn), "KEY_FN"}};
    for (const auto& [id, key] : keys) {
        SCOPED_TRACE(key);
        ASSERT_NE(id, 0);
        const SkinRect r = read_skin_rect(window->skin(), "BUTTONINFO", key);
        ASSERT_FALSE(r.unused());
        EXPECT_EQ(window->button(id)->geometry(), QRect(r.x, r.y, r.w, r.h));
    }
    for (const KeyboardKey& key : keyboard_key_list()) {
        const QRect place = window->button(key.control_id)->geometry();
        EXPECT_TRUE(window->rect().contains(place)) << key.control_id;
    }
}

TEST_F(WindowTest, PicturesAreDecodedWhenShownAndReleasedInTheTray) {
    SkinPictures& pictures = SkinPictures::shared();
    window.reset();
    pictures.release();
    SetUp();
    EXPECT_EQ(pictures.decoded_count(), 0) << "a picture was decoded before the window showed";

    window->set_connected_count(1);
    window->open_window();
    const QImage first = window->grab().toImage();
    EXPECT_TRUE(window->pictures().normal->decoded());
    EXPECT_FALSE(window->pictures().over->decoded()) << "no key is hovered";
    const QRegion shape = window->mask();
    EXPECT_FALSE(shape.isEmpty());

    window->put_away();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(pictures.decoded_count(), 0);

    window->open_window();
    EXPECT_EQ(window->mask(), shape);
    EXPECT_EQ(window->grab().toImage(), first);
}

TEST_F(WindowTest, GKeyClickInBankBAsksForItsSlotAndHighlightsIt) {
    window->switch_bank(1);
    ImageButton& g3 = *window->button(1002);
    const FaceImages before = g3.faces();
    QTest::mouseClick(&g3, Qt::LeftButton);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], (KeyClickRequest{0, 0x10B, 1002, false, 1}));
    // Highlighted: hover and selected faces in the normal place.
    EXPECT_EQ(g3.faces()[0], g3.faces()[1]);
    EXPECT_EQ(g3.faces()[0], g3.faces()[4]);
    EXPECT_NE(g3.faces()[0], before[0]);
    window->restore_key_look(1002);
    EXPECT_EQ(g3.faces(), before);
}

TEST_F(WindowTest, MacroButtonIsG9AndAnotherClickMovesTheHighlight) {
    const FaceImages plain = window->button(1143)->faces();
    QTest::mouseClick(window->button(MainControl::MacroEdit), Qt::LeftButton);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], (KeyClickRequest{0, 0x108, 1143, true, 0}));
    EXPECT_NE(window->button(1143)->faces(), plain);
    QTest::mouseClick(window->button(1058), Qt::LeftButton); // A
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].key_number, 0x1E);
    EXPECT_EQ(window->button(1143)->faces(), plain);
}

TEST_F(WindowTest, OpenWithoutKeyboardSaysSoAndStaysHidden) {
    window->open_window();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(messages,
              QStringList{QString::fromStdString(texts.text(TextKey::MainNoDevicePrompt))});
    window->set_connected_count(1);
    window->open_window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->tray_icon(), 141);
}

TEST_F(WindowTest, EscapeEnterAndSystemCloseNeverEndTheProgram) {
    window->set_connected_count(1);
    window->open_window();
    bool exited = false;
    QObject::connect(window.get(), &MainWindow::exit_requested, [&exited] { exited = true; });
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(exited);
    QTest::mouseClick(window->button(MainControl::Close), Qt::LeftButton);
    EXPECT_TRUE(exited);
}

TEST_F(WindowTest, HelpAndLinksOpenTheirAddresses) {
    QTest::mouseClick(window->button(MainControl::Help), Qt::LeftButton);
    QTest::mouseClick(window->button(MainControl::SkinLink), Qt::LeftButton);
    QTest::mouseClick(window->button(MainControl::VendorLink), Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{QUrl::fromLocalFile(TARVENOR_HELP_FILE).toString(),
                                   QString::fromStdString(window->skin().get("SCREEN", "Link")),
                                   MainWindow::kVendorAddress}));
}

TEST_F(WindowTest, BankSwitchCaptionsIndicatorAndAssignedLook) {
    {
        KeyAssignment macro;
        macro.type = static_cast<std::uint16_t>(AssignmentType::Macro);
        configuration.assign(flat_entry(1, g_button_slot(4, 1)), macro);
    }
    window->install_keyboard_state(state_of(configuration, 1));
    EXPECT_TRUE(window->button(1136)->selected()); // second profile button
    EXPECT_EQ(window->panel_profile(), 1);
    EXPECT_FALSE(window->button(1004)->selected());
    window->switch_bank(1);
    EXPECT_EQ(window->button(1000)->text(), "B1");
    EXPECT_EQ(window->button(1140)->text(), "");
    EXPECT_TRUE(window->button(MainControl::BankIndicator)->selected());
    EXPECT_TRUE(window->button(1004)->selected());
    window->switch_bank(0);
    EXPECT_EQ(window->button(1004)->text(), "A5");
    EXPECT_FALSE(window->button(MainControl::BankIndicator)->selected());
    EXPECT_FALSE(window->button(1004)->selected());
}

TEST_F(WindowTest, UnknownProfileKeepsTheProfileButtons) {
    window->install_keyboard_state(state_of(configuration, 2));
    window->install_keyboard_state(state_of(std::nullopt, -1));
    EXPECT_TRUE(window->button(1137)->selected());
    EXPECT_EQ(window->panel_profile(), 2);
    EXPECT_EQ(window->current_profile(), -1);
}

TEST_F(WindowTest, KeyboardGoneClosesTheAboutBoxAndHides) {
    window->set_connected_count(1);
    window->open_window();
    window->show_about();
    window->show_about(); // one box only
    EXPECT_TRUE(window->about_open());
    window->keyboard_gone();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->about_open());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, AboutSaysWhatTheProgramIsItsVersionAndYear) {
    QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    window->show_about();
    const auto* about = window->findChild<QDialog*>("about");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_EQ(about->findChild<QLabel*>("version")->text(), "Version 9.8.7");
    EXPECT_FALSE(about->findChild<QLabel*>("what")->text().isEmpty());
    EXPECT_TRUE(about->findChild<QLabel*>("GUANYU_BANQUAN")
                    ->text()
                    .contains(QRegularExpression("20[0-9][0-9]")));
}

IniFile shipped_language_file() {
    std::optional<IniFile> texts =
        IniFile::read(std::filesystem::path(TARVENOR_BIN_DIR) / "Skins" / "language.ini");
    EXPECT_TRUE(texts.has_value());
    return texts.value_or(IniFile());
}

// The window's version caption is typed into the language file; About takes the build's version.
TEST(ShippedLanguageFile, TheVersionCaptionNamesTheProgramsVersionInBothLanguages) {
    const IniFile texts = shipped_language_file();
    for (const std::string_view section :
         {LanguageFile::kEnglishSection, LanguageFile::kChineseSection}) {
        const std::string caption = texts.get(section, "MAIN_BUTTON_KESTRO_VER");
        EXPECT_TRUE(caption.ends_with(std::string(" ") + TARVENOR_VERSION))
            << section << ": " << caption;
    }
}

// Each file dialog is titled after the command that opened it, in the language shown, and says
// what a profile file is.
TEST(ShippedLanguageFile, FileDialogsAreTitledByTheirCommandAndFilterProfileFiles) {
    struct Expected {
        ProfileFilePurpose purpose;
        QString english, chinese;
        bool save;
    };
    const Expected cases[] = {{ProfileFilePurpose::Import, "Import", "导入", false},
                              {ProfileFilePurpose::Export, "Export", "导出", true},
                              {ProfileFilePurpose::AddProfile, "Add", "添加", true},
                              {ProfileFilePurpose::LoadProfile, "Load", "载入", false}};
    for (const char* index : {"1", "0"}) {
        IniFile texts = shipped_language_file();
        texts.set("LANGUAGE", "language", index);
        const LanguageFile language(texts);
        for (const Expected& expected : cases) {
            const ProfileFileDialogSetup setup =
                profile_file_dialog_setup(language, expected.purpose);
            EXPECT_EQ(setup.title, language.is_english() ? expected.english : expected.chinese);
            EXPECT_EQ(setup.save, expected.save);
            ASSERT_EQ(setup.filters.size(), 2);
            EXPECT_TRUE(setup.filters[0].endsWith("(*.tvp)")) << setup.filters[0].toStdString();
            EXPECT_TRUE(setup.filters[1].endsWith("(*)"));
        }
        EXPECT_TRUE(default_profile_file_name(language).endsWith(".tvp"));
        EXPECT_GT(default_profile_file_name(language).size(), 4);
    }
}

TEST_F(WindowTest, TheIsoKeysSayWhereTheyAre) {
    window->refresh_captions();
    for (const auto& [code, words] : {std::pair{KeyCode{0x056}, "left Shift and Z"},
                                      std::pair{KeyCode{0x073}, "/ and right Shift"}}) {
        const QString tip = window->button(control_of(code))->tooltip_text();
        EXPECT_TRUE(tip.startsWith(code == 0x056 ? "K45" : "K56")) << tip.toStdString();
        EXPECT_TRUE(tip.contains(QString::fromLatin1(words))) << tip.toStdString();
    }
    EXPECT_FALSE(window->button(control_of(0x01E))->tooltip_text().contains('\n'));
}

TEST_F(WindowTest, RefreshRequestsInABurstGiveOneReRead) {
    int rereads = 0;
    window->set_lighting_refresh([&rereads] { ++rereads; });
    window->request_lighting_refresh();
    window->request_lighting_refresh();
    window->request_lighting_refresh();
    EXPECT_EQ(rereads, 0); // deferred
    QCoreApplication::processEvents();
    EXPECT_EQ(rereads, 1);
    window->request_lighting_refresh();
    QCoreApplication::processEvents();
    EXPECT_EQ(rereads, 2);
}

TEST_F(WindowTest, IndicatorIconOverTheConnectionIcon) {
    std::vector<int> icons;
    QObject::connect(window.get(), &MainWindow::tray_icon_changed,
                     [&icons](int id) { icons.push_back(id); });
    window->set_connected_count(1);
    window->set_indicator(true);
    window->set_indicator(false);
    window->set_connected_count(0);
    window->set_connected_count(0);
    EXPECT_EQ(icons, (std::vector{141, 142, 141, 128}));
}

// Jobs run on a thread of their own, as on the device worker.
class ThreadJobs final : public KeyboardJobs {
public:
    ThreadJobs() : exchange_(functions_), commands_(exchange_, facts_) {}
    ~ThreadJobs() override {
        for (std::thread& t : threads_) {
            t.join();
        }
    }
    void post(Work work, Done done) override {
        threads_.emplace_back([this, work = std::move(work), done = std::move(done)] {
            const JobOutcome outcome = JobOutcome::done(work(commands_));
            QMetaObject::invokeMethod(qApp, [done, outcome] { done(outcome); });
        });
    }

private:
    HidServFunctions functions_;
    ReportExchange exchange_;
    DeviceFacts facts_;
    CommandSet commands_;
    std::vector<std::thread> threads_;
};

TEST_F(WindowTest, BusyBarRunsWhileAJobRunsAndStopsAfterward) {
    ThreadJobs jobs;
    window->set_keyboard_jobs(&jobs);
    EXPECT_FALSE(window->busy_bar().isVisibleTo(window.get()));
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    bool done = false;
    window->run_keyboard_job(
        [released](CommandSet&) {
            released.wait();
            return DeviceStatus::Success;
        },
        [&done](const JobOutcome&) { done = true; });
    EXPECT_TRUE(window->busy_bar().isVisibleTo(window.get()));
    EXPECT_TRUE(window->busy_bar().animating());
    QTest::qWait(120);
    EXPECT_GE(window->busy_bar().logic().running(), 1);
    release.set_value();
    ASSERT_TRUE(QTest::qWaitFor([&done] { return done; }, 2000));
    // Still shown for the hide delay, then gone with no timer left running.
    EXPECT_TRUE(window->busy_bar().isVisibleTo(window.get()));
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return !window->busy_bar().isVisibleTo(window.get()); }, 1000));
    EXPECT_FALSE(window->busy_bar().animating());
}

} // namespace
} // namespace tarvenor::testing
