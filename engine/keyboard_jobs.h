#pragma once

#include "device/commands.h"
#include "device/job_outcome.h"
#include "device/keyboard_session.h"

#include <functional>

namespace tarvenor {

// Where the windows send keyboard work: one device worker runs the jobs one after another, in
// the order posted, and every job ends with exactly one outcome, handed back to the poster's
// thread. The user interface thread never exchanges reports itself.
class KeyboardJobs {
public:
    using Work = std::function<DeviceStatus(CommandSet&)>;
    using Done = std::function<void(const JobOutcome&)>;

    virtual ~KeyboardJobs() = default;
    virtual void post(Work work, Done done) = 0;
};

// Hands a call to the thread that posted a job (the windows: a queued call on their thread).
using ToPoster = std::function<void(std::function<void()>)>;

// The jobs go to the session's device worker; outcomes come back through `to_poster`.
class SessionJobs final : public KeyboardJobs {
public:
    SessionJobs(KeyboardSession& session, ToPoster to_poster)
        : session_(session), to_poster_(std::move(to_poster)) {}
    void post(Work work, Done done) override;

private:
    KeyboardSession& session_;
    ToPoster to_poster_;
};

} // namespace tarvenor
