#pragma once

#include "device/commands.h"

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

} // namespace tarvenor
