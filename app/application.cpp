#include "app/application.h"

#include "app/companion.h"
#include "app/display_probe.h"
#include "app/focus_follower.h"
#include "app/follow_tray_items.h"
#include "app/qt_translations.h"
#include "app/single_instance.h"
#include "app/start_options.h"
#include "app/tray_availability.h"
#include "app/tray_icon.h"
#include "device/keyboard_session.h"
#include "device/stop_signals.h"
#include "model/program_files.h"
#include "model/user_storage.h"
#include "ui/assign/assignment_host.h"
#include "ui/logic/focus_texts.h"
#include "ui/main/lighting_panel.h"
#include "ui/main/main_window.h"
#include "ui/main/profile_panel.h"
#include "ui/main/window_session_observer.h"
#include "ui/profile/qt_settings_store.h"
#include "ui/profile/rules_dialog.h"
#include "ui/skin/dark_look.h"
#include "ui/skin/skin_error.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QPixmapCache>
#include <QSessionManager>
#include <QStandardPaths>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>

namespace tarvenor {
namespace {

constexpr const char* kUsage =
    "usage: tarvenor [/Start] [/Kill]\n"
    "  /Start, --start  stay in the notification area even when a keyboard is found\n"
    "  /Kill, --kill    end the running instance\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "The program lives in the notification area; a second start opens its window.\n"
    "TARVENOR_HIDSERV names another HID service library (the virtual keyboard:\n"
    "libHidServSim.so beside libHidServ.so).\n";

QString runtime_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

int fail(const std::string& what) {
    std::fprintf(stderr, "tarvenor: %s\n", what.c_str());
    return 1;
}

// Without a display the program can still reach a running instance: "/Kill" ends it, another
// start opens its window (on the display it runs on). Anything else needs a window.
int hand_over_without_display(int& argc, char** argv, const StartOptions& options) {
    const QCoreApplication application(argc, argv);
    SingleInstance instance(runtime_folder());
    if (instance.send(options.kill ? ShellCommand::Kill : ShellCommand::Open)) {
        return 0;
    }
    return fail(no_display_message());
}

QtMessageHandler handler_before_window_system = nullptr;

// Offers `on_quit` each Quit that comes through the window system: on X11 the session manager's
// Die, but also the program's own QApplication::quit(). One that `on_quit` does not take goes on
// to QApplication, which closes every window: the main window refuses that (its close only puts
// it away), so a Die left to it would leave the program running after its session.
class WindowSystemQuit : public QObject {
public:
    WindowSystemQuit(QObject* parent, std::function<bool()> on_quit)
        : QObject(parent), on_quit_(std::move(on_quit)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::Quit && event->spontaneous() &&
            on_quit_()) {
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> on_quit_;
};

// Qt ends the process with an abort when no platform plugin starts (a display gone since it was
// probed, a plugin that fails to load): one line and exit code 1 instead. Nothing of the program
// exists yet, so there is nothing to clean up.
void exit_when_window_system_fails(QtMsgType type, const QMessageLogContext& context,
                                   const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "tarvenor: %s: the window system did not start\n",
                     no_display_message().c_str());
        std::_Exit(1);
    }
    handler_before_window_system(type, context, message);
}

// Everything that lives from the window's creation to the end of the exit sequence.
class RunningProgram {
public:
    RunningProgram(const ProgramFiles& files, const LanguageFile& language, const TextTable& texts,
                   SingleInstance& instance)
        : files_(files), language_(language), texts_(texts), instance_(instance),
          storage_(documents_), tray_available_(TrayAvailability::of_session()),
          window_(files.skins,
                  {language, texts, configuration_, files.help, tray_available_->available()}),
          observer_(window_, storage_, texts), tray_(files.skins, files.language),
          events_(getuid()) {
        // The window owns the panels, which answer its controls, and the assignment dialog.
        profiles_ =
            new ProfilePanel(window_, {configuration_, storage_, settings_, language, texts});
        connect_panels(*profiles_);
        auto* assignment =
            new AssignmentHost(window_, {language, texts, configuration_, settings_, files.skins});
        window_.set_assign_handler(
            [assignment](const KeyClickRequest& request) { assignment->open(request); });
        profiles_->set_editor_open([assignment] { return assignment->is_open(); });
        configuration_.make_default_image();
        follow_focus(files);
    }

    // The keyboard's profile follows the application in front, by the user's rules.
    void follow_focus(const ProgramFiles& files) {
        follower_ = std::make_unique<FocusFollower>(
            open_focus_source(QApplication::platformName().toStdString(),
                              QGuiApplication::desktopFileName().toStdString()),
            profile_rules_path(),
            FocusFollower::Hooks{
                [this] { return profiles_->automatic_switch_waits() || rules_open(); },
                [this](int profile, std::function<void(int)> ended) {
                    profiles_->follow_profile(profile, std::move(ended));
                }});
        follow_tray_ = new FollowTrayItems(tray_.menu(), files.language, *follower_);
        QObject::connect(follow_tray_, &FollowTrayItems::rules_requested, &window_,
                         [this] { open_rules(); });
        profiles_->set_rules_opener([this] { open_rules(); });
        FocusFollower& follower = *follower_;
        profiles_->set_chosen_by_hand(
            [&follower](int profile) { follower.chosen_by_hand(profile); });
        QObject::connect(&window_, &MainWindow::keyboard_state_installed, &follower,
                         [this] { follower_->keyboard_profile(window_.current_profile()); });
        QObject::connect(&window_, &MainWindow::keyboard_jobs_ended, &follower,
                         &FocusFollower::try_again);
        QObject::connect(&window_, &MainWindow::child_dialog_closed, &follower,
                         &FocusFollower::try_again);
        QObject::connect(&follower, &FocusFollower::state_changed, &tray_,
                         [this] { show_tray_tooltip(window_.tray_tooltip_text()); });
        QObject::connect(
            &follower, &FocusFollower::rules_damaged, &window_, [this](const QString& problem) {
                window_.show_message(window_.own_text(focus_text::kDamaged).arg(problem));
            });
    }

    void open_rules() {
        if (rules_.isNull()) {
            rules_ = new RulesDialog(&window_, files_.skins, language_, *follower_);
            keep_page_current(*rules_, *follower_);
            window_.add_child_dialog(rules_);
        }
        rules_->exec();
    }

    bool rules_open() const { return !rules_.isNull() && rules_->isVisible(); }

    void show_tray_tooltip(const QString& connection_text) {
        tray_.set_tooltip(follow_tray_->tooltip(connection_text));
    }

    // The profile controls and the lighting panel act on each other: a profile button turns the
    // light switch off and shows that profile's lighting, restore defaults resets the lighting,
    // the switch turning on makes the keyboard's active profile current again, and the
    // report-rate buttons show the shown profile's record.
    void connect_panels(ProfilePanel& profiles) {
        LightingPanel& lighting = window_.lighting();
        LightingPanelLogic& logic = lighting.logic();
        profiles.set_lighting_hooks(
            [&logic](int profile) {
                if (logic.light_switch()) {
                    logic.turn_switch_off();
                }
                logic.show_profile(profile);
            },
            [&logic] { logic.reset_lighting(); });
        logic.set_before_switch_on(
            [this, &profiles] { profiles.switch_profile(window_.current_profile()); });
        lighting.set_shown_hook(
            [&profiles, &logic] { profiles.show_report_rate(logic.record().report_rate()); });
    }

    // Loads the service library and starts following the keyboard; false with `error` set.
    bool open_session(bool quiet_start, std::string& error) {
        KeyboardSession::Options options;
        options.library_file = ServiceLibrary::default_file(files_.library_folder);
        options.quiet_start = quiet_start;
        session_ = KeyboardSession::open(options, observer_, error);
        if (!session_) {
            return false;
        }
        jobs_ = std::make_unique<SessionJobs>(*session_, [this](std::function<void()> call) {
            QMetaObject::invokeMethod(&window_, std::move(call), Qt::QueuedConnection);
        });
        window_.set_keyboard_jobs(jobs_.get());
        window_.set_access_check([this] { return session_->inaccessible_nodes(); });
        return true;
    }

    void start() {
        connect_signals();
        // Before anything the exit sequence undoes exists: a signal from here on ends the run
        // through it.
        stop_watch_ = std::make_unique<StopSignalWatch>([this](int) {
            QMetaObject::invokeMethod(
                &window_, [this] { exit_sequence(); }, Qt::QueuedConnection);
        });
        events_.create();
        session_->start();
        follower_->start();
        // The rest once the event loop runs, as the window's own initialisation message did.
        QMetaObject::invokeMethod(
            &window_, [this] { finish_start(); }, Qt::QueuedConnection);
    }

    // Closes everything in order; the session's worker stops last, when this object goes. The
    // running keyboard job stops at its next command, so that the worker ends soon.
    void exit_sequence() {
        if (exiting_) {
            return;
        }
        exiting_ = true;
        session_->request_stop();
        window_.hide();
        window_.close_child_dialogs();
        instance_.release();
        events_.remove();
        tray_.remove();
        configuration_.clear();
        QApplication::quit();
    }

private:
    void connect_signals() {
        QObject::connect(&instance_, &SingleInstance::command_received, &window_,
                         [this](ShellCommand command) {
                             if (command == ShellCommand::Kill) {
                                 exit_sequence();
                             } else {
                                 window_.open_window();
                             }
                         });
        // The window's close button and the tray's Exit ask about unapplied changes; a /Kill
        // never waits on a question.
        QObject::connect(&window_, &MainWindow::exit_requested, &window_,
                         [this] { profiles_->request_exit([this] { exit_sequence(); }); });
        QObject::connect(&window_, &MainWindow::tray_icon_changed, &tray_, &TrayIcon::set_icon);
        QObject::connect(&window_, &MainWindow::tray_tooltip_changed, &tray_,
                         [this](const QString& text) { show_tray_tooltip(text); });
        QObject::connect(&tray_, &TrayIcon::open_requested, &window_, &MainWindow::open_window);
        QObject::connect(&tray_, &TrayIcon::about_requested, &window_, &MainWindow::show_about);
        QObject::connect(&tray_, &TrayIcon::exit_requested, &window_,
                         [this] { profiles_->request_exit([this] { exit_sequence(); }); });
        QObject::connect(tray_available_.get(), &TrayAvailability::changed, &window_,
                         [this](bool available) { follow_tray(available); });
        connect_session_end();
    }

    // The desktop session ending (logout, shutdown) ends the run as a signal does: no question,
    // bounded in time. A quit from anywhere else still runs the whole sequence. Qt asks for the
    // commit only when the session saves globally; a session that saves only locally ends the
    // program by its Die alone.
    void connect_session_end() {
        const auto end_with_session = [this] {
            stop_signals::bound_shutdown();
            exit_sequence();
        };
        QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window_,
                         [end_with_session](QSessionManager&) { end_with_session(); });
        // Once the exit sequence has run, a Quit is its own and must reach QApplication.
        qApp->installEventFilter(new WindowSystemQuit(&window_, [this, end_with_session] {
            if (exiting_) {
                return false;
            }
            end_with_session();
            return true;
        }));
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, &window_,
                         [this] { exit_sequence(); });
    }

    void finish_start() {
        const bool tray = tray_available_->available();
        if (tray) {
            tray_.create(follow_tray_->tooltip(window_.tray_tooltip_text()),
                         tray_available_->status_notifier_host());
        } else {
            say_no_tray();
        }
        session_->set_init_complete();
        if (show_at_start(tray)) {
            window_.show();
        }
    }

    static void say_no_tray() {
        std::fprintf(stderr, "tarvenor: no notification area on this desktop: the window stays "
                             "open and is minimised instead of hidden\n");
    }

    // A tray host that goes (a panel restarting, an extension turned off) never ends the program:
    // the window takes over until a host is back.
    void follow_tray(bool available) {
        if (available) {
            std::fprintf(stderr,
                         "tarvenor: a notification area is there again: the icon is back\n");
            tray_.create(follow_tray_->tooltip(window_.tray_tooltip_text()),
                         tray_available_->status_notifier_host());
        } else {
            say_no_tray();
            tray_.remove();
        }
        window_.set_tray_available(available);
    }

    const ProgramFiles& files_;
    const LanguageFile& language_;
    const TextTable& texts_;
    SingleInstance& instance_;
    EnvironmentDocumentsFolder documents_;
    UserStorage storage_;
    std::unique_ptr<TrayAvailability> tray_available_;
    Configuration configuration_;
    QtSettingsStore settings_;
    MainWindow window_;
    // Owned by the window.
    ProfilePanel* profiles_ = nullptr;
    WindowSessionObserver observer_;
    TrayIcon tray_;
    CompanionEvents events_;
    std::unique_ptr<SessionJobs> jobs_;
    std::unique_ptr<StopSignalWatch> stop_watch_;
    bool exiting_ = false;
    std::unique_ptr<FocusFollower> follower_;
    // Owned by the tray's menu.
    FollowTrayItems* follow_tray_ = nullptr;
    // Owned by the window.
    QPointer<RulesDialog> rules_;
    // Declared last: its worker stops before anything it reports to goes.
    std::unique_ptr<KeyboardSession> session_;
};

} // namespace

int run_tarvenor(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const StartOptions options = parse_start_options(arguments);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tarvenor %s\n", TARVENOR_VERSION);
        return 0;
    }
    AvailableDisplay display =
        display_available(requested_platforms(arguments, std::getenv("QT_QPA_PLATFORM")));
    if (!display) {
        return hand_over_without_display(argc, argv, options);
    }

    handler_before_window_system = qInstallMessageHandler(exit_when_window_system_fails);
    QApplication application(argc, argv);
    display.release();
    qInstallMessageHandler(handler_before_window_system);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setOrganizationName(QString::fromLatin1(SettingsStore::kOrganisation.data()));
    QApplication::setApplicationName(QStringLiteral("tarvenor"));
    // Wayland's app id of the windows: the desktop entry's name, for the icon and for knowing
    // the program's own windows among the compositor's.
    QGuiApplication::setDesktopFileName(QStringLiteral("tarvenor"));
    QApplication::setApplicationVersion(QStringLiteral(TARVENOR_VERSION));
    // The style's pixmap cache, once it holds anything, wakes the program on a timer of its own to
    // flush itself, for as long as the window stays open. The skin keeps its own pictures, and the
    // few style-drawn controls are cheap to draw afresh: without the cache, the idle program
    // sleeps.
    QPixmapCache::setCacheLimit(0);

    const ProgramFiles files = running_program_files();
    const LanguageFile language = LanguageFile::load(files.language);
    const TextTable texts(language);
    install_qt_translations(language);
    apply_dark_look(QIcon(QString::fromStdString((files.skins / "icon128.png").string())),
                    QString::fromStdString(texts.text(TextKey::MainCaption)));

    // From here on a signal ends the run through the exit sequence, once that can run.
    if (!stop_signals::install()) {
        std::fprintf(stderr, "tarvenor: signals cannot be caught: a signal ends the program "
                             "without its exit sequence\n");
    }
    SingleInstance instance(runtime_folder());
    if (options.kill && instance.send(ShellCommand::Kill)) {
        return 0;
    }
    switch (instance.claim()) {
    case SingleInstance::Claim::HandedOver:
        return 0;
    case SingleInstance::Claim::NoAnswer:
        std::fprintf(stderr, "tarvenor: another instance holds %s but does not answer\n",
                     instance.lock_path().toLocal8Bit().constData());
        break;
    case SingleInstance::Claim::Owner:
        break;
    }
    start_companion(files.companion);

    try {
        RunningProgram program(files, language, texts, instance);
        std::string error;
        if (!program.open_session(options.quiet_start, error)) {
            return fail(error);
        }
        program.start();
        return QApplication::exec();
    } catch (const SkinError& error) {
        return fail(error.what());
    }
}

} // namespace tarvenor
