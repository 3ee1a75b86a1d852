#pragma once

#include "hidserv/hidserv.h"

#include <cstdint>

namespace tarvenor::hidserv {

// What a device interface reports about itself; the fields a selector can ask for.
struct UnitIdentity {
    std::uint16_t vendor_id = 0;
    std::uint16_t product_id = 0;
    std::uint16_t usage_page = 0;
    std::uint16_t usage = 0;
};

bool selector_matches(const HidUnitSelector& selector, const UnitIdentity& unit);
bool same_unit(const HidUnitSelector& a, const HidUnitSelector& b);

// Hands one notification to a callback; the records live on the caller's stack for the call.
void notify(HidNotifyCallback callback, std::uint32_t kind, std::uint32_t tag,
            std::uint32_t length_or_count, const std::uint8_t* data);

} // namespace tarvenor::hidserv
