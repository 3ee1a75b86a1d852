#pragma once

#include "device/commands.h"
#include "device/keyboard_session.h"

#include <functional>

namespace tarvenor {

// Where the windows send keyboard work: one device worker runs the jobs one after another, in
// the order posted. The user interface thread never exchanges reports itself.
class KeyboardJobs {
public:
    using Job = std::function<void(CommandSet&)>;

    virtual ~KeyboardJobs() = default;
    virtual void post(Job job) = 0;
};

// The jobs go to the session's device worker.
class SessionJobs final : public KeyboardJobs {
public:
    explicit SessionJobs(KeyboardSession& session) : session_(session) {}
    void post(Job job) override { session_.post(std::move(job)); }

private:
    KeyboardSession& session_;
};

} // namespace tarvenor
