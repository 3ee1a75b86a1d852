#pragma once

#include "device/device_status.h"

#include <string>

namespace tarvenor {

// How a keyboard job ended. Every job posted to the session ends with exactly one of these.
enum class JobEnd {
    Done,    // the job ran; `status` is its own result
    Busy,    // another program kept the keyboard beyond the wait; the job did not run
    Gone,    // the keyboard was unplugged before or while the job ran
    Stopped, // the program is closing; the job did not run, or stopped at a safe point
};

struct JobOutcome {
    JobEnd end = JobEnd::Stopped;
    DeviceStatus status = DeviceStatus::NoDevice;
    std::string holder; // Busy: who has the keyboard ("tarvenor-cli (process 1234)")

    static JobOutcome done(DeviceStatus status) {
        return {status == DeviceStatus::NoDevice ? JobEnd::Gone : JobEnd::Done, status, {}};
    }
    static JobOutcome stopped(DeviceStatus status) { return {JobEnd::Stopped, status, {}}; }
    static JobOutcome busy(std::string holder) {
        return {JobEnd::Busy, DeviceStatus::NoDevice, std::move(holder)};
    }
    bool succeeded() const { return end == JobEnd::Done && status == DeviceStatus::Success; }
};

} // namespace tarvenor
