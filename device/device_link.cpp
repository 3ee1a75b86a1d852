#include "device/device_link.h"

#include "hidserv/units.h"

namespace tarvenor {

DeviceLink::DeviceLink(const HidServFunctions& library, ConnectionSink& sink,
                       std::chrono::milliseconds answer_wait)
    : library_(library), sink_(sink), exchange_(library, answer_wait), route_(*this) {}

DeviceLink::~DeviceLink() {
    library_.delete_request_from_unit_id(command_read_);
    library_.delete_request_from_unit_id(consumer_read_);
    library_.delete_request_from_unit_id(status_write_);
}

int DeviceLink::start() {
    consumer_read_ = place_read(consumer_read_, hidserv::kConsumerUnit, HIDSERV_TAG_CONS);
    command_read_ = place_read(command_read_, hidserv::kCommandUnit, HIDSERV_TAG_CTRL);
    return exchange_.device_count();
}

HidRequestHandle DeviceLink::place_read(HidRequestHandle previous, const HidUnitSelector& unit,
                                        std::uint32_t tag) {
    library_.delete_request_from_unit_id(previous);
    HidRequestHandle handle = 0;
    library_.async_read(&unit, route_.callback(), tag, &handle);
    return handle;
}

bool DeviceLink::write_status_report(const std::array<std::uint8_t, 2>& report) {
    const std::lock_guard lock(status_mutex_);
    library_.delete_request_from_unit_id(status_write_);
    status_write_ = 0;
    return library_.status_write(&hidserv::kStatusUnit, route_.callback(), HIDSERV_TAG_DEL,
                                 report.data(), static_cast<int>(report.size()),
                                 &status_write_) > 0;
}

void DeviceLink::dispatch(const HidReadNotification& notification) {
    const HidRequestRecord& request = *notification.request;
    const bool data = notification.kind == HIDSERV_KIND_DATA && request.data != nullptr;
    if (request.tag == HIDSERV_TAG_CTRL && data) {
        exchange_.deliver_answer(request.data, request.length_or_count);
    } else if (request.tag == HIDSERV_TAG_CTRL && notification.kind == HIDSERV_KIND_CONNECTION) {
        sink_.connection_changed(static_cast<int>(request.length_or_count));
    } else if (request.tag == HIDSERV_TAG_CONS && data && request.length_or_count >= 2) {
        sink_.consumer_code(static_cast<std::uint16_t>(request.data[0] | request.data[1] << 8));
    }
}

} // namespace tarvenor
