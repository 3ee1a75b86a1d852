#include "ui/logic/g_keys.h"

#include "model/key_codes.h"

#include <mutex>

namespace tarvenor {

namespace {
constexpr int kCaptionedKeys = 5;
}

std::array<std::string, kGKeyCount> g_captions(int bank) {
    std::array<std::string, kGKeyCount> captions;
    const char letter = (bank & 1) == 0 ? 'A' : 'B';
    for (int j = 0; j < kCaptionedKeys; ++j) {
        captions[j] = std::string{letter} + std::to_string(j + 1);
    }
    return captions;
}

std::array<bool, kGKeyCount> g_assigned(const Configuration& configuration, int profile, int bank) {
    std::array<bool, kGKeyCount> assigned{};
    if (profile < 0 || profile >= kKeyboardProfiles) {
        return assigned;
    }
    for (int j = 0; j < kGKeyCount; ++j) {
        const int slot = g_button_slot(j, bank & 1);
        assigned[j] = configuration.entry(flat_entry(profile, slot)).type != 0;
    }
    return assigned;
}

} // namespace tarvenor
