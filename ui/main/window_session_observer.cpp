#include "ui/main/window_session_observer.h"

#include "engine/arrival_read.h"
#include "ui/main/main_window.h"

namespace tarvenor {

WindowSessionObserver::WindowSessionObserver(MainWindow& window, const UserStorage& storage,
                                             const TextTable& texts)
    : window_(window), storage_(storage), texts_(texts) {}

template <typename Call> void WindowSessionObserver::queue(Call call) {
    QMetaObject::invokeMethod(&window_, std::move(call), Qt::QueuedConnection);
}

void WindowSessionObserver::arrival_started() {
    MainWindow& window = window_;
    queue([&window] { window.arrival_started(); });
}

void WindowSessionObserver::keyboard_arrived(CommandSet& commands, bool default_matrix_read) {
    MainWindow& window = window_;
    if (!default_matrix_read) {
        const QString text = QString::fromStdString(texts_.text(TextKey::MainDefaultMatrixPrompt));
        queue([&window, text] { window.show_message(text); });
    }
    KeyboardState state = read_keyboard_state(commands, storage_, texts_);
    queue([&window, state = std::move(state)]() mutable {
        window.install_keyboard_state(std::move(state));
        window.keyboard_job_finished();
    });
}

void WindowSessionObserver::keyboard_gone() {
    MainWindow& window = window_;
    queue([&window] { window.keyboard_gone(); });
}

void WindowSessionObserver::connection_count_changed(int count) {
    MainWindow& window = window_;
    queue([&window, count] { window.set_connected_count(count); });
}

void WindowSessionObserver::open_requested() {
    MainWindow& window = window_;
    queue([&window] { window.open_window(); });
}

void WindowSessionObserver::bank_switched(int bank) {
    MainWindow& window = window_;
    queue([&window, bank] { window.switch_bank(bank); });
}

void WindowSessionObserver::lighting_refresh_requested() {
    MainWindow& window = window_;
    queue([&window] { window.request_lighting_refresh(); });
}

void WindowSessionObserver::arrival_busy(const std::string& holder) {
    MainWindow& window = window_;
    const QString who = QString::fromStdString(holder);
    queue([&window, who] { window.arrival_busy(who); });
}

void WindowSessionObserver::indicator_changed(bool on) {
    MainWindow& window = window_;
    queue([&window, on] { window.set_indicator(on); });
}

} // namespace tarvenor
