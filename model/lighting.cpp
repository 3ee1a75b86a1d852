#include "model/lighting.h"

#include <algorithm>

namespace tarvenor {

void LightingRecord::set_colour_at(std::size_t offset, ColourValue colour) {
    bytes[offset] = static_cast<std::uint8_t>(colour & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
    bytes[offset + 2] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
}

void LightingRecord::reset() {
    std::copy(kResetBytes.begin(), kResetBytes.end(), bytes.begin());
}

} // namespace tarvenor
