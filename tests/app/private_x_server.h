#pragma once

#include <xcb/xcb.h>

#include <sys/types.h>

#include <string>

namespace tarvenor {

// A private X server (Xvfb) on its own display, with no client of its own, ended with the test.
class PrivateXServer {
public:
    explicit PrivateXServer(std::string display);
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    bool started() const { return pid_ > 0; }
    const std::string& display() const { return display_; }

    // A connection, tried for up to 5 s: the server may be starting or resetting.
    xcb_connection_t* connect() const;
    // Waits until the server has carried out every request sent on the connection.
    static void sync(xcb_connection_t* connection);

private:
    std::string display_;
    pid_t pid_ = -1;
};

} // namespace tarvenor
