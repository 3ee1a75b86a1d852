#pragma once

namespace tarvenor {

// The result of every device operation. Callers test for Success; everything else is a failure.
enum class DeviceStatus : int {
    Success = 1,
    NoDevice = 0,     // no keyboard connected, or the wait for the answer failed
    SendRefused = -1, // the service library did not take the report
    NoAnswer = -2,    // no answer at all within three attempts
    // Answers came, but none of the three echoed the command: the keyboard is out of step.
    WrongAnswer = -3,
    // The program is ending: the command was held back (an open transfer is still closed).
    Stopped = -4,
    Rejected = -102,       // the keyboard answered with status 0xFF
    UnknownCommand = -103, // the keyboard answered with status 0xFE
    // A profile index out of range (or another argument the keyboard cannot be sent, such as a
    // length beyond one report); nothing was sent.
    InvalidArgument = -201,
};

constexpr int status_code(DeviceStatus status) {
    return static_cast<int>(status);
}
const char* describe(DeviceStatus status);

} // namespace tarvenor
