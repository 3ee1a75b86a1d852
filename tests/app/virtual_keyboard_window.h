#pragma once

#include "window_fixture.h"

#include "device/keyboard_session.h"
#include "model/user_storage.h"
#include "ui/main/window_session_observer.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tarvenor::testing {

// The A key's control on the main window.
constexpr int kKeyA = 1058;

// The window with its session on the virtual keyboard, as the program wires them.
class VirtualKeyboardWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        sim_dir = folder.filePath("sim");
        setenv("TARVENOR_SIM_DIR", sim_dir.toUtf8().constData(), 1);
        QDir().mkpath(folder.filePath("docs"));
        setenv("TARVENOR_USER_DIR", folder.filePath("docs").toUtf8().constData(), 1);
        unsetenv("TARVENOR_SIM_UNPLUGGED");
        unsetenv("TARVENOR_SIM_LATENCY_MS");
        setenv("TARVENOR_SIM_TRAFFIC", folder.filePath("traffic").toUtf8().constData(), 1);
    }

    void TearDown() override {
        session.reset();
        QCoreApplication::processEvents();
        unsetenv("TARVENOR_SIM_TRAFFIC");
    }

    void start(bool quiet) {
        observer = std::make_unique<WindowSessionObserver>(*window, storage, texts);
        KeyboardSession::Options options;
        options.library_file = std::filesystem::path(TARVENOR_BIN_DIR) / "libHidServSim.so";
        options.quiet_start = quiet;
        options.lock_file = folder.filePath("keyboard.lock").toStdString();
        options.lock_patience = lock_patience;
        options.answer_wait = answer_wait;
        std::string error;
        session = KeyboardSession::open(options, *observer, error);
        ASSERT_TRUE(session) << error;
        jobs = std::make_unique<SessionJobs>(*session, [this](std::function<void()> call) {
            QMetaObject::invokeMethod(window.get(), std::move(call), Qt::QueuedConnection);
        });
        window->set_keyboard_jobs(jobs.get());
        session->start();
        session->set_init_complete();
    }

    void simctl(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(TARVENOR_BIN_DIR "/tarvenor-simctl"), arguments);
        ASSERT_TRUE(process.waitForFinished(5000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    }

    bool wait_for(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, 10000);
    }

    // Waits until every job posted so far has run and its result reached the window.
    void settle() {
        bool done = false;
        window->run_keyboard_job([](CommandSet&) { return DeviceStatus::Success; },
                                 [&done](const JobOutcome&) { done = true; });
        ASSERT_TRUE(wait_for([&done] { return done; }));
    }

    // Lines of the virtual keyboard's traffic file: two for each report it answered.
    std::size_t traffic_lines() const {
        std::ifstream in(folder.filePath("traffic").toStdString());
        return static_cast<std::size_t>(
            std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
    }

    // Set before start(): how long the session waits for the keyboard lock and for an answer.
    std::chrono::milliseconds lock_patience = kKeyboardLockPatience;
    std::chrono::milliseconds answer_wait = kAnswerWait;
    QTemporaryDir folder;
    QString sim_dir;
    EnvironmentDocumentsFolder documents;
    UserStorage storage{documents};
    std::unique_ptr<WindowSessionObserver> observer;
    std::unique_ptr<SessionJobs> jobs;
    std::unique_ptr<KeyboardSession> session;
};

} // namespace tarvenor::testing
