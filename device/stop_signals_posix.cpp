#include "device/stop_signals.h"

#include "device/stop_signals_state.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace tarvenor {
namespace {

using namespace stop_signals::detail;

// Written by the handler; readable for good once the first signal came: every watch sees it,
// none drains it.
int signal_pipe[2] = {-1, -1};

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

void on_stop_signal(int signal) {
    take_signal(signal);
    ::alarm(static_cast<unsigned>(stop_signals::kShutdownLimit.count()));
    const int saved = errno;
    const unsigned char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signal_pipe[1], &byte, 1);
    errno = saved;
}

void on_overrun(int) {
    const int signal = first_signal.load();
    end_now(signal != 0 ? signal : SIGTERM);
}

bool set_handler(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Whatever the program was waiting on goes on waiting; the watches do the rest.
    action.sa_flags = SA_RESTART;
    return ::sigaction(signal, &action, nullptr) == 0;
}

} // namespace

bool stop_signals::detail::install_handlers() {
    if (::pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    bool installed = set_handler(SIGALRM, on_overrun);
    for (const int signal : kStopSignals) {
        installed = installed && set_handler(signal, on_stop_signal);
    }
    return installed;
}

namespace stop_signals {

void bound_shutdown() {
    if (!shutting_down.exchange(true)) {
        ::alarm(static_cast<unsigned>(kShutdownLimit.count()));
    }
}

} // namespace stop_signals

struct StopSignalWatch::Wake {
    int fds[2] = {-1, -1};
};

StopSignalWatch::StopSignalWatch(std::function<void(int)> on_signal)
    : on_signal_(std::move(on_signal)), wake_(std::make_unique<Wake>()) {
    // Without its wake pipe the watch could never be ended: it then watches nothing.
    if (::pipe2(wake_->fds, O_CLOEXEC) == 0) {
        thread_ = std::thread([this] { watch(); });
    }
}

StopSignalWatch::~StopSignalWatch() {
    if (thread_.joinable()) {
        const unsigned char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_->fds[1], &byte, 1);
        thread_.join();
    }
    for (const int fd : wake_->fds) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void StopSignalWatch::watch() {
    for (;;) {
        if (const int signal = stop_signals::received(); signal != 0) {
            on_signal_(signal);
            return;
        }
        // A signal between the look above and the poll leaves the pipe readable.
        pollfd wanted[2] = {{signal_pipe[0], POLLIN, 0}, {wake_->fds[0], POLLIN, 0}};
        if (::poll(wanted, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (wanted[1].revents != 0) {
            return;
        }
    }
}

} // namespace tarvenor
