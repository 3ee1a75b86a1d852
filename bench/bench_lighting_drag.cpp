// Drags the brightness slider of the real main window across its range while the virtual
// keyboard answers every report after 150 ms, and prints the longest time the window's event
// loop went without turning (measured by a 2 ms timer) and how long the keyboard took to catch up.
// Runs offscreen; needs the program folder (skin, simulator) as its first argument.
#include "device/keyboard_session.h"
#include "engine/keyboard_jobs.h"
#include "model/configuration.h"
#include "model/text_table.h"
#include "model/user_storage.h"
#include "ui/main/lighting_controls.h"
#include "ui/main/lighting_panel.h"
#include "ui/main/main_window.h"
#include "ui/main/window_session_observer.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using namespace tarvenor;

constexpr int kLatencyMs = 150;
constexpr int kMoveEveryMs = 8;

// The longest gap between turns of the event loop while it runs.
class StallMeter {
public:
    StallMeter() {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, clock_.restart()); });
    }
    void start() {
        longest_ = 0;
        clock_.start();
        timer_.start();
    }
    qint64 longest() const { return longest_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

void send_mouse(QWidget* target, QEvent::Type type, int x) {
    const QPointF at(x, target->height() / 2);
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

bool wait_until(const std::function<bool()>& condition, int limit_ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < limit_ms) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return condition();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_lighting_drag PROGRAM_FOLDER\n");
        return 1;
    }
    const std::filesystem::path bin = argv[1];
    QTemporaryDir folder;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TARVENOR_SIM_DIR", folder.filePath("sim").toUtf8().constData(), 1);
    setenv("TARVENOR_USER_DIR", folder.path().toUtf8().constData(), 1);
    setenv("TARVENOR_SIM_LATENCY_MS", std::to_string(kLatencyMs).c_str(), 1);
    QApplication app(argc, argv);

    const LanguageFile language = LanguageFile::load(bin / "Skins" / "language.ini");
    const TextTable texts(language);
    Configuration configuration;
    configuration.make_default_image();
    EnvironmentDocumentsFolder documents;
    UserStorage storage(documents);
    MainWindow window(bin / "Skins", {language, texts, configuration, bin / "Help", true});
    WindowSessionObserver observer(window, storage, texts);
    KeyboardSession::Options options;
    options.library_file = bin / "libHidServSim.so";
    options.lock_file = folder.filePath("keyboard.lock").toStdString();
    std::string error;
    auto session = KeyboardSession::open(options, observer, error);
    if (!session) {
        std::fprintf(stderr, "bench_lighting_drag: %s\n", error.c_str());
        return 1;
    }
    SessionJobs jobs(*session, [&window](std::function<void()> call) {
        QMetaObject::invokeMethod(&window, std::move(call), Qt::QueuedConnection);
    });
    window.set_keyboard_jobs(&jobs);
    session->start();
    session->set_init_complete();
    window.show();

    LightingPanel& panel = window.lighting();
    if (!wait_until([&] { return panel.effect_box()->count() > 0; }, 20000)) {
        std::fprintf(stderr, "bench_lighting_drag: the lighting was not read\n");
        return 1;
    }
    panel.logic().click_light_switch();
    BitmapSlider* slider = panel.brightness_slider();

    StallMeter meter;
    meter.start();
    QElapsedTimer drag;
    drag.start();
    // Right to left and back, a mouse move every 8 ms as a hand drags.
    std::vector<int> path;
    for (int x = slider->width() - 1; x >= 0; x -= 2) {
        path.push_back(x);
    }
    for (int x = 0; x < slider->width(); x += 2) {
        path.push_back(x);
    }
    send_mouse(slider, QEvent::MouseButtonPress, path.front());
    std::size_t next = 1;
    QTimer mover;
    mover.setInterval(kMoveEveryMs);
    QObject::connect(&mover, &QTimer::timeout, [&] {
        if (next < path.size()) {
            send_mouse(slider, QEvent::MouseMove, path[next++]);
        } else {
            send_mouse(slider, QEvent::MouseButtonRelease, path.back());
            mover.stop();
        }
    });
    mover.start();
    wait_until([&] { return !mover.isActive(); }, 20000);
    const qint64 drag_ms = drag.elapsed();
    const qint64 stall = meter.longest();
    // The keyboard catches up with the last position (4) after the drag.
    QElapsedTimer catch_up;
    catch_up.start();
    const auto settings = folder.filePath("sim/settings.bin").toStdString();
    const bool caught_up = wait_until(
        [&] {
            FILE* file = std::fopen(settings.c_str(), "rb");
            int byte = -1;
            if (file != nullptr) {
                std::fseek(file, 1, SEEK_SET);
                byte = std::fgetc(file);
                std::fclose(file);
            }
            return byte == 4 && panel.logic().record().brightness() == 4;
        },
        20000);
    std::printf("latency per report: %d ms\n", kLatencyMs);
    std::printf("drag: %zu mouse moves in %lld ms\n", path.size(), static_cast<long long>(drag_ms));
    std::printf("longest event-loop stall during the drag: %lld ms\n",
                static_cast<long long>(stall));
    std::printf("the keyboard %s the final brightness %lld ms after the drag\n",
                caught_up ? "holds" : "does not hold", static_cast<long long>(catch_up.elapsed()));
    return caught_up ? 0 : 1;
}
