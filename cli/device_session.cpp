#include "cli/device_session.h"

#include "cli/cli_command.h"
#include "cli/user_words.h"

#include <iostream>
#include <string>

namespace tarvenor::cli {

DeviceSession::DeviceSession(std::unique_ptr<ServiceLibrary> library)
    : library_(std::move(library)), link_(library_->functions(), sink_),
      commands_(link_.exchange(), facts_) {}

std::unique_ptr<DeviceSession> DeviceSession::open(int& exit_code) {
    std::string error;
    std::unique_ptr<ServiceLibrary> library =
        ServiceLibrary::load(ServiceLibrary::default_file(program_folder()), error);
    if (!library) {
        std::cerr << "tarvenor-cli: " << error << '\n';
        exit_code = kExitNoServiceLibrary;
        return nullptr;
    }
    std::unique_ptr<DeviceSession> session(new DeviceSession(std::move(library)));
    session->keyboards_ = session->link_.start();
    if (session->keyboards_ == 0) {
        std::cerr << "tarvenor-cli: no keyboard connected\n";
        exit_code = kExitNoKeyboard;
        return nullptr;
    }
    exit_code = kExitDone;
    return session;
}

int device_failure(std::string_view what, DeviceStatus status) {
    complain(std::string(what) + " failed: " + status_in_words(status));
    return status == DeviceStatus::NoDevice ? kExitNoKeyboard : kExitRejected;
}

} // namespace tarvenor::cli
