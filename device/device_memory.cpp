#include "device/device_memory.h"

namespace tarvenor {

int active_profile_of(const ParameterBlock& block) {
    const int profile = block[kActiveProfileByte];
    return valid_profile(profile) ? profile : -1;
}

int macro_space_of(const ParameterBlock& block) {
    return block[kMacroSpaceByte] * kMacroSpaceUnit;
}

std::vector<int> effects_of(const ParameterBlock& block) {
    std::vector<int> effects;
    for (std::size_t i = kFirstEffectByte; i < block.size(); ++i) {
        if (block[i] != 0) {
            effects.push_back(block[i]);
        }
    }
    return effects;
}

} // namespace tarvenor
