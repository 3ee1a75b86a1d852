#include "app/companion.h"
#include "app/qt_translations.h"
#include "app/single_instance.h"
#include "app/tray_icon.h"
#include "ui/logic/window_rules.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>

namespace tarvenor {
namespace {

// Runs `work` on another thread while this one serves its events, as a second process would.
template <typename Work> auto from_another_process(Work work) {
    auto result = std::async(std::launch::async, work);
    while (result.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    return result.get();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
};

TEST_F(SingleInstanceTest, SecondStartHandsOverOpenAndKill) {
    SingleInstance first(folder.path());
    ASSERT_EQ(first.claim(), SingleInstance::Claim::Owner);
    std::vector<ShellCommand> received;
    QObject::connect(&first, &SingleInstance::command_received,
                     [&received](ShellCommand c) { received.push_back(c); });

    SingleInstance second(folder.path());
    EXPECT_EQ(from_another_process([&second] { return second.claim(); }),
              SingleInstance::Claim::HandedOver);
    EXPECT_TRUE(from_another_process([&second] { return second.send(ShellCommand::Kill); }));
    EXPECT_TRUE(QTest::qWaitFor([&received] { return received.size() == 2; }, 2000));
    EXPECT_EQ(received, (std::vector{ShellCommand::Open, ShellCommand::Kill}));
}

TEST_F(SingleInstanceTest, ReleaseLeavesNothingAndFreesTheName) {
    {
        SingleInstance first(folder.path());
        ASSERT_EQ(first.claim(), SingleInstance::Claim::Owner);
        EXPECT_TRUE(QFile::exists(first.lock_path()));
        EXPECT_TRUE(QFile::exists(first.server_path()));
        first.release();
        EXPECT_FALSE(QFile::exists(first.lock_path()));
        EXPECT_FALSE(QFile::exists(first.server_path()));
    }
    SingleInstance next(folder.path());
    EXPECT_EQ(next.claim(), SingleInstance::Claim::Owner);
}

TEST_F(SingleInstanceTest, NobodyRunningMeansNoAnswer) {
    SingleInstance lonely(folder.path());
    EXPECT_FALSE(lonely.send(ShellCommand::Kill));
}

// What a crashed owner leaves: a socket file bound once, with nobody listening on it any more.
void leave_dead_socket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(path));
}

TEST_F(SingleInstanceTest, StaleSocketOfACrashedOwnerIsReplaced) {
    SingleInstance probe(folder.path());
    leave_dead_socket(probe.server_path().toStdString());
    ASSERT_EQ(probe.claim(), SingleInstance::Claim::Owner);
    SingleInstance second(folder.path());
    EXPECT_EQ(from_another_process([&second] { return second.claim(); }),
              SingleInstance::Claim::HandedOver);
}

TEST_F(SingleInstanceTest, ForeignBytesAreNotACommand) {
    SingleInstance first(folder.path());
    ASSERT_EQ(first.claim(), SingleInstance::Claim::Owner);
    int received = 0;
    QObject::connect(&first, &SingleInstance::command_received, [&received] { ++received; });
    const bool answered = from_another_process([path = first.server_path()] {
        QLocalSocket socket;
        socket.connectToServer(path);
        socket.waitForConnected(1000);
        socket.write("GET / HTTP", 10);
        socket.waitForBytesWritten(1000);
        return socket.waitForReadyRead(300);
    });
    EXPECT_FALSE(answered);
    QCoreApplication::processEvents();
    EXPECT_EQ(received, 0);
}

bool semaphore_exists(const std::string& name) {
    return std::filesystem::exists("/dev/shm/sem." + name.substr(1));
}

TEST(CompanionEvents, NamesCarryNumberAndUser) {
    EXPECT_EQ(CompanionEvents::name(1, 1000), "/Tarvenor_Event_Main_01.1000");
    EXPECT_EQ(CompanionEvents::name(211, 1000), "/Tarvenor_Event_Main_211.1000");
    EXPECT_NE(CompanionEvents::name(5, 1000), CompanionEvents::name(5, 1001));
}

TEST(CompanionEvents, TwoUsersEachHaveAllAndRemoveOnlyTheirOwn) {
    // User ids no account has, so that a running program is never disturbed.
    const unsigned user_a = 3'900'000'000u + static_cast<unsigned>(getpid() % 100000);
    const unsigned user_b = user_a + 100000;
    CompanionEvents a(user_a);
    CompanionEvents b(user_b);
    EXPECT_EQ(a.create(), CompanionEvents::kCount);
    EXPECT_EQ(b.create(), CompanionEvents::kCount);
    EXPECT_EQ(a.create(), CompanionEvents::kCount); // a second call creates nothing new
    a.remove();
    EXPECT_FALSE(semaphore_exists(CompanionEvents::name(1, user_a)));
    EXPECT_FALSE(semaphore_exists(CompanionEvents::name(211, user_a)));
    EXPECT_TRUE(semaphore_exists(CompanionEvents::name(211, user_b)));
    b.remove();
    EXPECT_FALSE(semaphore_exists(CompanionEvents::name(1, user_b)));
}

class TrayMenu : public ::testing::Test {
protected:
    std::filesystem::path write_language(const std::string& index) {
        const std::filesystem::path file =
            std::filesystem::path(dir.path().toStdString()) / "l.ini";
        std::ofstream(file) << "[LANGUAGE]\nlanguage=" << index
                            << "\n[ENGINSH]\nMENU_11=&Open\nMENU_22=&About\nMENU_33=E&xit\n"
                               "[CHINESE]\nMENU_11=Da kai\nMENU_33=Tui chu\n";
        return file;
    }
    QStringList texts(TrayIcon& tray) {
        tray.fill_menu();
        QStringList result;
        for (QAction* action : tray.menu().actions()) {
            result << action->text();
        }
        return result;
    }
    QTemporaryDir dir;
};

TEST_F(TrayMenu, LanguageInForceAtEachOpening) {
    const auto file = write_language("1");
    TrayIcon tray(TARVENOR_SKIN_DIR, file);
    EXPECT_EQ(texts(tray), (QStringList{"&Open", "&About", "E&xit"}));
    EXPECT_EQ(tray.menu().defaultAction(), tray.menu().actions().first());
    // The file changes while the program runs; a key missing in the section gives an empty item.
    write_language("2");
    EXPECT_EQ(texts(tray), (QStringList{"Da kai", "", "Tui chu"}));
    write_language("1abc");
    EXPECT_EQ(texts(tray).first(), "&Open");
}

TEST_F(TrayMenu, ItemsRunOpenAboutExitAndTooltipIsCut) {
    TrayIcon tray(TARVENOR_SKIN_DIR, write_language("1"));
    QStringList heard;
    QObject::connect(&tray, &TrayIcon::open_requested, [&heard] { heard << "open"; });
    QObject::connect(&tray, &TrayIcon::about_requested, [&heard] { heard << "about"; });
    QObject::connect(&tray, &TrayIcon::exit_requested, [&heard] { heard << "exit"; });
    for (QAction* action : tray.menu().actions()) {
        action->trigger();
    }
    EXPECT_EQ(heard, (QStringList{"open", "about", "exit"}));
    tray.set_tooltip(QString(300, QChar('x')));
    EXPECT_EQ(tray.tooltip().size(), TrayIcon::kTooltipCapacity);
}

TEST_F(TrayMenu, ShownOnlyWhenCreatedAndAgainAfterRemoval) {
    TrayIcon tray(TARVENOR_SKIN_DIR, write_language("1"));
    // Icon and tooltip changes before the icon exists are kept for it.
    tray.set_icon(kIconConnected);
    tray.set_tooltip(QStringLiteral("early"));
    EXPECT_FALSE(tray.created());
    tray.remove();
    EXPECT_FALSE(tray.created());
    tray.create(QStringLiteral("tip"), false);
    EXPECT_TRUE(tray.created());
    EXPECT_EQ(tray.icon_id(), kIconConnected);
    EXPECT_EQ(tray.tooltip(), QStringLiteral("tip"));
    // The tray host went and came back.
    tray.remove();
    EXPECT_FALSE(tray.created());
    tray.create(QStringLiteral("again"), false);
    EXPECT_TRUE(tray.created());
    EXPECT_EQ(tray.tooltip(), QStringLiteral("again"));
}

// A StatusNotifierItem host has no double click: its activation (a left click in swaybar) is the
// icon's main action. On X11 a single click stays without effect.
TEST(TrayActivation, OpensOnDoubleClickOrAHostsActivation) {
    using Reason = QSystemTrayIcon::ActivationReason;
    for (const bool item : {false, true}) {
        EXPECT_TRUE(TrayIcon::opens_window(Reason::DoubleClick, item));
        EXPECT_EQ(TrayIcon::opens_window(Reason::Trigger, item), item);
        EXPECT_FALSE(TrayIcon::opens_window(Reason::Context, item));
        EXPECT_FALSE(TrayIcon::opens_window(Reason::MiddleClick, item));
    }
}

} // namespace
} // namespace tarvenor

namespace tarvenor {
namespace {

LanguageFile language_with_index(const char* index) {
    IniFile ini;
    ini.set("LANGUAGE", "language", index);
    return LanguageFile(std::move(ini));
}

TEST(QtTranslations, ChineseTranslatesQtsOwnDialogsAndEnglishLeavesThemAlone) {
    EXPECT_FALSE(install_qt_translations(language_with_index("1")));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    ASSERT_TRUE(install_qt_translations(language_with_index("0")));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
              QString::fromUtf8("\u53d6\u6d88"));
}

} // namespace
} // namespace tarvenor
