#pragma once

#include "device/device_memory.h"

#include <mutex>
#include <optional>

namespace tarvenor {

// What the program keeps of the connected keyboard between operations: the active profile
// (CurrentProfile, -1 while undetermined), the macro memory size (MacroSpace, 0 until read) and
// the factory key matrix (DefaultKeyMatrix, none until read). Shared by the connection handler,
// the windows and the downloads, so every access is locked.
class DeviceFacts {
public:
    static constexpr int kUnknownProfile = -1;

    int current_profile() const;
    void set_current_profile(int profile); // anything but 0..2 stores -1
    int macro_space() const;
    void set_macro_space(int bytes);
    std::optional<KeyMatrix> default_key_matrix() const;
    void set_default_key_matrix(const KeyMatrix& matrix);

private:
    mutable std::mutex mutex_;
    int current_profile_ = kUnknownProfile;
    int macro_space_ = 0;
    std::optional<KeyMatrix> default_key_matrix_;
};

} // namespace tarvenor
