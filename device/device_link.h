#pragma once

#include "device/connection_sink.h"
#include "device/report_exchange.h"
#include "device/service_library.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>

namespace tarvenor {

// The program's side of the service library once it is loaded: the standing reads on the
// command and consumer interfaces, the notification callback that feeds the answer mailbox and
// the sink, the report exchange, and writes to the status interface. One per process: the
// library's callback carries no context, so the link it serves is a process-wide one.
class DeviceLink {
public:
    DeviceLink(const HidServFunctions& library, ConnectionSink& sink,
               std::chrono::milliseconds answer_wait = kAnswerWait);
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    // Cancels the standing reads; no notification reaches this link afterwards.
    ~DeviceLink();

    // Places the standing reads and returns the number of keyboards connected now.
    int start();

    ReportExchange& exchange() { return exchange_; }

    // Writes a short report to the status interface (the G-key bank report), replacing the
    // previous status request. true when the library took it.
    bool write_status_report(const std::array<std::uint8_t, 2>& report);

private:
    static int on_notification(const HidReadNotification* notification);
    void dispatch(const HidReadNotification& notification);
    HidRequestHandle place_read(HidRequestHandle previous, const HidUnitSelector& unit,
                                std::uint32_t tag);

    const HidServFunctions& library_;
    ConnectionSink& sink_;
    ReportExchange exchange_;
    HidRequestHandle consumer_read_ = 0;
    HidRequestHandle command_read_ = 0;
    std::mutex status_mutex_;
    HidRequestHandle status_write_ = 0;
};

} // namespace tarvenor
