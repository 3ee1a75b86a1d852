#include "cli/device_session.h"

#include "cli/access_advice.h"
#include "cli/cli_command.h"
#include "cli/user_words.h"
#include "model/program_files.h"

#include <iostream>
#include <string>

namespace tarvenor::cli {

std::unique_ptr<DeviceSession> DeviceSession::open(int& exit_code) {
    KeyboardSession::Options options;
    options.library_file = ServiceLibrary::default_file(running_program_files().library_folder);
    options.quiet_start = true;
    options.follow_connections = false;
    std::unique_ptr<DeviceSession> device(new DeviceSession());
    std::string error;
    device->session_ = KeyboardSession::open(options, device->observer_, error);
    if (!device->session_) {
        std::cerr << "tarvenor-cli: " << error << '\n';
        exit_code = kExitNoServiceLibrary;
        return nullptr;
    }
    // A signal before this point ends the run at once: nothing is open that needs closing.
    stop_signals::install();
    device->stop_watch_ = std::make_unique<StopSignalWatch>(
        [session = device->session_.get()](int) { session->request_stop(); });
    if (std::string holder; !device->session_->hold_keyboard(holder)) {
        std::cerr << "tarvenor-cli: the keyboard is busy: " << holder
                  << " is using it; try again when it has finished\n";
        exit_code = kExitRejected;
        return nullptr;
    }
    device->keyboards_ = device->session_->start();
    if (device->keyboards_ == 0) {
        const std::vector<std::string> locked = device->session_->inaccessible_nodes();
        std::cerr << "tarvenor-cli: "
                  << (locked.empty() ? "no keyboard connected" : access_problem_text(locked))
                  << '\n';
        exit_code = kExitNoKeyboard;
        return nullptr;
    }
    exit_code = kExitDone;
    return device;
}

DeviceSession::~DeviceSession() {
    if (session_) {
        session_->release_keyboard();
    }
}

int device_failure(std::string_view what, DeviceStatus status) {
    complain(std::string(what) + " failed: " + status_in_words(status));
    return status == DeviceStatus::NoDevice ? kExitNoKeyboard : kExitRejected;
}

int exit_code_after_signals(int exit_code) {
    const int signal = stop_signals::received();
    return signal != 0 && exit_code != kExitDone ? stop_signals::exit_code(signal) : exit_code;
}

} // namespace tarvenor::cli
