#pragma once

#include "hidserv/hidserv.h"
#include "hidserv/service.h"
#include "hidserv/sim/control_channel.h"
#include "hidserv/sim/fault_plan.h"
#include "hidserv/sim/firmware.h"
#include "hidserv/sim/memory_lease.h"
#include "hidserv/sim/sim_config.h"
#include "hidserv/sim/traffic_log.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tarvenor::sim {

// A keyboard at the far end of the service library: it takes command reports, answers each one
// from its own thread through the standing reads' callbacks (after the configured latency, or
// not at all when a fault says so), reports plugging and unplugging as connection changes, sends
// consumer codes, and keeps the last report written to its status interface.
class VirtualKeyboard final : public hidserv::Service {
public:
    static std::unique_ptr<VirtualKeyboard> start(const SimConfig& config, std::string& error);
    VirtualKeyboard(const VirtualKeyboard&) = delete;
    VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;
    ~VirtualKeyboard() override;

    int device_count(const HidUnitSelector& selector) override;
    HidRequestHandle place_read(const HidUnitSelector& selector, HidNotifyCallback callback,
                                std::uint32_t tag) override;
    bool delete_request(HidRequestHandle handle) override;
    int write_one(const HidUnitSelector& selector, const std::uint8_t* data, int length) override;
    // It is a single keyboard: "every matching interface" is this one.
    int write_every(const HidUnitSelector& selector, const std::uint8_t* data, int length) override;
    int write_status(const HidUnitSelector& selector, const std::uint8_t* data, int length,
                     HidRequestHandle* out_handle) override;
    // The status interface's feature report is the last report written to it.
    int get_feature(const HidUnitSelector& selector, std::uint8_t* data, int capacity) override;
    int set_feature(const HidUnitSelector& selector, const std::uint8_t* data, int length) override;

    // One control command ("plug", "unplug", "consumer 0x02ff", "latency 5", "fault status-ff 3",
    // "status"); returns the reply line, "ok ..." or "error: ...".
    std::string control(std::string_view command);

private:
    enum class Unit { None, Command, Consumer, Status };
    struct StandingRead {
        HidRequestHandle handle;
        Unit unit;
        HidNotifyCallback callback;
        std::uint32_t tag;
    };
    struct Event {
        std::chrono::steady_clock::time_point due;
        std::function<void()> action;
    };

    explicit VirtualKeyboard(const SimConfig& config);

    static Unit unit_of(const HidUnitSelector& selector);
    bool plugged() const;
    HidRequestHandle next_handle();
    void post(std::chrono::milliseconds delay, std::function<void()> action);
    void run_events();
    enum class Work { Stop, Event, LeaseIdle };
    // Waits until the first event is due (with none queued, until one comes), the memory lease
    // has run idle, or the keyboard stops. Called with mutex_ held.
    Work wait_for_work(std::unique_lock<std::mutex>& lock);
    void answer(const Report& request);
    void deliver(Unit unit, std::uint32_t kind, std::uint32_t length_or_count,
                 const std::uint8_t* data);
    bool registered(HidRequestHandle handle) const;
    std::string set_plugged(bool plugged);
    std::string send_consumer_code(std::string_view argument);
    std::string set_latency(std::string_view argument);
    std::string set_faults(std::string_view argument);
    std::string describe() const;

    Firmware firmware_;            // used by the event thread only
    MemoryLease lease_{firmware_}; // the same
    TrafficLog traffic_;
    ControlServer control_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Event> events_;
    bool stopping_ = false;
    bool plugged_ = true;
    std::chrono::milliseconds latency_{0};
    FaultPlan faults_;
    std::optional<std::vector<std::uint8_t>> status_report_;
    std::vector<StandingRead> reads_;
    std::set<HidRequestHandle> status_writes_;
    HidRequestHandle last_handle_ = 0;

    // Held while callbacks run, so that a deleted request is never called afterwards.
    std::recursive_mutex delivery_;
    std::thread events_thread_;
};

} // namespace tarvenor::sim
