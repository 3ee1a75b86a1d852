#include "device/device_facts.h"

namespace tarvenor {

int DeviceFacts::current_profile() const {
    const std::lock_guard lock(mutex_);
    return current_profile_;
}

void DeviceFacts::set_current_profile(int profile) {
    const std::lock_guard lock(mutex_);
    current_profile_ = valid_profile(profile) ? profile : kUnknownProfile;
}

int DeviceFacts::macro_space() const {
    const std::lock_guard lock(mutex_);
    return macro_space_;
}

void DeviceFacts::set_macro_space(int bytes) {
    const std::lock_guard lock(mutex_);
    macro_space_ = bytes;
}

std::optional<KeyMatrix> DeviceFacts::default_key_matrix() const {
    const std::lock_guard lock(mutex_);
    return default_key_matrix_;
}

void DeviceFacts::set_default_key_matrix(const KeyMatrix& matrix) {
    const std::lock_guard lock(mutex_);
    default_key_matrix_ = matrix;
}

} // namespace tarvenor
