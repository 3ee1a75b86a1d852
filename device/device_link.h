#pragma once

#include "device/connection_sink.h"
#include "device/notification_route.h"
#include "device/report_exchange.h"
#include "device/service_library.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>

namespace tarvenor {

// The program's side of the service library once it is loaded: the standing reads on the
// command and consumer interfaces, the notification callback that feeds the answer mailbox and
// the sink, the report exchange, and writes to the status interface. Several links may live in
// one process: each receives only the notifications of the requests it placed.
class DeviceLink final : private NotificationTarget {
public:
    DeviceLink(const HidServFunctions& library, ConnectionSink& sink,
               std::chrono::milliseconds answer_wait = kAnswerWait);
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    // Cancels the standing reads; no notification reaches this link afterwards.
    ~DeviceLink();

    // False when the process already runs as many links as it has callbacks for.
    bool routed() const { return route_.callback() != nullptr; }

    // Places the standing reads and returns the number of keyboards connected now.
    int start();

    ReportExchange& exchange() { return exchange_; }

    // Writes a short report to the status interface (the G-key bank report), replacing the
    // previous status request. true when the library took it.
    bool write_status_report(const std::array<std::uint8_t, 2>& report);

private:
    void dispatch(const HidReadNotification& notification) override;
    HidRequestHandle place_read(HidRequestHandle previous, const HidUnitSelector& unit,
                                std::uint32_t tag);

    const HidServFunctions& library_;
    ConnectionSink& sink_;
    ReportExchange exchange_;
    HidRequestHandle consumer_read_ = 0;
    HidRequestHandle command_read_ = 0;
    std::mutex status_mutex_;
    HidRequestHandle status_write_ = 0;
    // Last, so that it goes first: a notification still running is waited for while everything
    // it uses is alive.
    NotificationRoute route_;
};

} // namespace tarvenor
