#include "hidserv/unit_selector.h"

namespace tarvenor::hidserv {

bool selector_matches(const HidUnitSelector& selector, const UnitIdentity& unit) {
    const auto wants = [&](std::uint32_t bit) { return (selector.match_mask & bit) != 0; };
    return (!wants(HIDSERV_MATCH_VENDOR) || selector.vendor_id == unit.vendor_id) &&
           (!wants(HIDSERV_MATCH_PRODUCT) || selector.product_id == unit.product_id) &&
           (!wants(HIDSERV_MATCH_USAGE_PAGE) || selector.usage_page == unit.usage_page) &&
           (!wants(HIDSERV_MATCH_USAGE) || selector.usage == unit.usage);
}

bool same_unit(const HidUnitSelector& a, const HidUnitSelector& b) {
    return a.match_mask == b.match_mask && a.vendor_id == b.vendor_id &&
           a.product_id == b.product_id && a.usage_page == b.usage_page && a.usage == b.usage;
}

void notify(HidNotifyCallback callback, std::uint32_t kind, std::uint32_t tag,
            std::uint32_t length_or_count, const std::uint8_t* data) {
    const HidRequestRecord record{tag, length_or_count, data};
    const HidReadNotification notification{kind, &record};
    callback(&notification);
}

} // namespace tarvenor::hidserv
