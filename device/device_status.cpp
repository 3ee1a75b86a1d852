#include "device/device_status.h"

namespace tarvenor {

const char* describe(DeviceStatus status) {
    switch (status) {
    case DeviceStatus::Success:
        return "done";
    case DeviceStatus::NoDevice:
        return "no keyboard connected";
    case DeviceStatus::SendRefused:
        return "the HID service library refused to send the report";
    case DeviceStatus::NoAnswer:
        return "the keyboard did not answer";
    case DeviceStatus::WrongAnswer:
        return "the keyboard answered a different command";
    case DeviceStatus::Stopped:
        return "stopped: the program is ending";
    case DeviceStatus::Rejected:
        return "the keyboard rejected the command (status 0xFF)";
    case DeviceStatus::UnknownCommand:
        return "the keyboard does not know the command (status 0xFE)";
    case DeviceStatus::InvalidArgument:
        return "argument out of range";
    }
    return "unknown status";
}

} // namespace tarvenor
