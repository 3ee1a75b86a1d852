#include "private_x_server.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

extern char** environ;

namespace tarvenor {

PrivateXServer::PrivateXServer(std::string display) : display_(std::move(display)) {
    std::vector<std::string> words = {"Xvfb", display_, "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
}

PrivateXServer::~PrivateXServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

xcb_connection_t* PrivateXServer::connect() const {
    for (int attempt = 0; attempt < 100; ++attempt) {
        xcb_connection_t* connection = xcb_connect(display_.c_str(), nullptr);
        if (xcb_connection_has_error(connection) == 0) {
            return connection;
        }
        xcb_disconnect(connection);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

void PrivateXServer::sync(xcb_connection_t* connection) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace tarvenor
