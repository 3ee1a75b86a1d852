#pragma once

#include "hidserv/hidserv.h"

#include <cstdint>

namespace tarvenor::hidserv {

inline constexpr HidUnitSelector make_unit(std::uint16_t usage_page, std::uint16_t usage) {
    return {HIDSERV_MATCH_ALL, HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID, usage_page, usage, {}};
}

// The keyboard's three interfaces the program talks to.
inline constexpr HidUnitSelector kCommandUnit =
    make_unit(HIDSERV_COMMAND_USAGE_PAGE, HIDSERV_COMMAND_USAGE);
inline constexpr HidUnitSelector kConsumerUnit =
    make_unit(HIDSERV_CONSUMER_USAGE_PAGE, HIDSERV_CONSUMER_USAGE);
inline constexpr HidUnitSelector kStatusUnit =
    make_unit(HIDSERV_STATUS_USAGE_PAGE, HIDSERV_STATUS_USAGE);

} // namespace tarvenor::hidserv
