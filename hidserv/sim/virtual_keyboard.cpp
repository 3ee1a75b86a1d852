#include "hidserv/sim/virtual_keyboard.h"

#include "hidserv/debug_log.h"
#include "hidserv/unit_selector.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iostream>

namespace tarvenor::sim {
namespace {

using hidserv::UnitIdentity;

constexpr UnitIdentity unit_identity(std::uint16_t usage_page, std::uint16_t usage) {
    return {HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID, usage_page, usage};
}

constexpr UnitIdentity kCommandUnit =
    unit_identity(HIDSERV_COMMAND_USAGE_PAGE, HIDSERV_COMMAND_USAGE);
constexpr UnitIdentity kConsumerUnit =
    unit_identity(HIDSERV_CONSUMER_USAGE_PAGE, HIDSERV_CONSUMER_USAGE);
constexpr UnitIdentity kStatusUnit = unit_identity(HIDSERV_STATUS_USAGE_PAGE, HIDSERV_STATUS_USAGE);

// Splits "word rest of line" at the first blank.
std::pair<std::string_view, std::string_view> split_command(std::string_view text) {
    const auto trim = [](std::string_view s) {
        const auto first = s.find_first_not_of(" \t\r");
        if (first == std::string_view::npos) {
            return std::string_view();
        }
        return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
    };
    text = trim(text);
    const auto blank = text.find_first_of(" \t");
    if (blank == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, blank), trim(text.substr(blank))};
}

// Decimal, or hexadecimal with a 0x prefix.
std::optional<unsigned long> parse_number(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

Report padded_report(const std::uint8_t* data, int length) {
    Report report{};
    std::copy_n(data, std::min<std::size_t>(static_cast<std::size_t>(length), report.size()),
                report.begin());
    return report;
}

} // namespace

std::unique_ptr<VirtualKeyboard> VirtualKeyboard::start(const SimConfig& config,
                                                        std::string& error) {
    std::unique_ptr<VirtualKeyboard> keyboard(new VirtualKeyboard(config));
    if (!keyboard->firmware_.open(config.folder, error) ||
        !keyboard->traffic_.open(config.traffic, error)) {
        return nullptr;
    }
    std::string control_error;
    if (!keyboard->control_.start(
            config.control_socket,
            [raw = keyboard.get()](std::string_view command) { return raw->control(command); },
            control_error)) {
        std::cerr << "virtual keyboard: no control channel: " << control_error << '\n';
    }
    keyboard->events_thread_ = std::thread([raw = keyboard.get()] { raw->run_events(); });
    return keyboard;
}

VirtualKeyboard::VirtualKeyboard(const SimConfig& config)
    : plugged_(!config.start_unplugged), latency_(config.latency), faults_(config.faults) {}

VirtualKeyboard::~VirtualKeyboard() {
    control_.stop();
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (events_thread_.joinable()) {
        events_thread_.join();
    }
}

VirtualKeyboard::Unit VirtualKeyboard::unit_of(const HidUnitSelector& selector) {
    if (hidserv::selector_matches(selector, kCommandUnit)) {
        return Unit::Command;
    }
    if (hidserv::selector_matches(selector, kConsumerUnit)) {
        return Unit::Consumer;
    }
    if (hidserv::selector_matches(selector, kStatusUnit)) {
        return Unit::Status;
    }
    return Unit::None;
}

bool VirtualKeyboard::plugged() const {
    const std::lock_guard lock(mutex_);
    return plugged_;
}

int VirtualKeyboard::device_count(const HidUnitSelector& selector) {
    return plugged() && unit_of(selector) != Unit::None ? 1 : 0;
}

HidRequestHandle VirtualKeyboard::next_handle() {
    ++last_handle_;
    if (last_handle_ == 0) {
        ++last_handle_;
    }
    return last_handle_;
}

HidRequestHandle VirtualKeyboard::place_read(const HidUnitSelector& selector,
                                             HidNotifyCallback callback, std::uint32_t tag) {
    const std::lock_guard lock(mutex_);
    const HidRequestHandle handle = next_handle();
    reads_.push_back({handle, unit_of(selector), callback, tag});
    return handle;
}

bool VirtualKeyboard::delete_request(HidRequestHandle handle) {
    const std::lock_guard delivery(delivery_);
    const std::lock_guard lock(mutex_);
    const auto read = std::find_if(reads_.begin(), reads_.end(),
                                   [&](const StandingRead& r) { return r.handle == handle; });
    if (read != reads_.end()) {
        reads_.erase(read);
        return true;
    }
    return status_writes_.erase(handle) > 0;
}

int VirtualKeyboard::write_one(const HidUnitSelector& selector, const std::uint8_t* data,
                               int length) {
    if (data == nullptr || length <= 0) {
        return 0;
    }
    switch (unit_of(selector)) {
    case Unit::Command: {
        const Report request = padded_report(data, length);
        std::chrono::milliseconds latency;
        {
            const std::lock_guard lock(mutex_);
            if (!plugged_) {
                return 0;
            }
            latency = latency_;
        }
        traffic_.record('>', request);
        post(latency, [this, request] { answer(request); });
        return static_cast<int>(request.size());
    }
    case Unit::Status:
        return write_status(selector, data, length, nullptr);
    case Unit::Consumer:
    case Unit::None:
        break;
    }
    return 0;
}

int VirtualKeyboard::write_status(const HidUnitSelector& selector, const std::uint8_t* data,
                                  int length, HidRequestHandle* out_handle) {
    if (out_handle != nullptr) {
        *out_handle = 0;
    }
    const std::lock_guard lock(mutex_);
    if (!plugged_ || unit_of(selector) != Unit::Status || data == nullptr || length <= 0) {
        return 0;
    }
    status_report_.emplace(data, data + length);
    hidserv::debug_line(1, "status report " + hidserv::hex_bytes(data, length));
    if (out_handle != nullptr) {
        *out_handle = next_handle();
        status_writes_.insert(*out_handle);
    }
    return length;
}

int VirtualKeyboard::write_every(const HidUnitSelector& selector, const std::uint8_t* data,
                                 int length) {
    return write_one(selector, data, length) > 0 ? 1 : 0;
}

int VirtualKeyboard::set_feature(const HidUnitSelector& selector, const std::uint8_t* data,
                                 int length) {
    return write_status(selector, data, length, nullptr);
}

int VirtualKeyboard::get_feature(const HidUnitSelector& selector, std::uint8_t* data,
                                 int capacity) {
    const std::lock_guard lock(mutex_);
    if (!plugged_ || unit_of(selector) != Unit::Status || !status_report_ || data == nullptr ||
        capacity <= 0) {
        return 0;
    }
    const std::size_t n = std::min(status_report_->size(), static_cast<std::size_t>(capacity));
    std::copy_n(status_report_->begin(), n, data);
    return static_cast<int>(n);
}

void VirtualKeyboard::post(std::chrono::milliseconds delay, std::function<void()> action) {
    {
        const std::lock_guard lock(mutex_);
        events_.push_back({std::chrono::steady_clock::now() + delay, std::move(action)});
    }
    wake_.notify_one();
}

void VirtualKeyboard::run_events() {
    std::unique_lock lock(mutex_);
    for (;;) {
        switch (wait_for_work(lock)) {
        case Work::Stop:
            return;
        case Work::LeaseIdle:
            lock.unlock();
            lease_.release(); // no command for a while: other programs may have the memory
            break;
        case Work::Event: {
            const std::function<void()> action = std::move(events_.front().action);
            events_.pop_front();
            lock.unlock();
            action();
            break;
        }
        }
        lock.lock();
    }
}

VirtualKeyboard::Work VirtualKeyboard::wait_for_work(std::unique_lock<std::mutex>& lock) {
    for (;;) {
        if (stopping_) {
            return Work::Stop; // the queue may well be empty: stopping is what woke us
        }
        // Waiting only when the event is not yet due keeps a zero-latency answer to one wake-up.
        const auto now = std::chrono::steady_clock::now();
        if (!events_.empty() && events_.front().due <= now) {
            return Work::Event;
        }
        const std::optional<std::chrono::steady_clock::time_point> idle_end = lease_.idle_end();
        if (idle_end && *idle_end <= now) {
            return Work::LeaseIdle;
        }
        std::optional<std::chrono::steady_clock::time_point> until = idle_end;
        if (!events_.empty()) {
            until = std::min(events_.front().due, idle_end.value_or(events_.front().due));
        }
        if (until) {
            wake_.wait_until(lock, *until);
        } else {
            wake_.wait(lock);
        }
    }
}

void VirtualKeyboard::answer(const Report& request) {
    Fault fault;
    {
        const std::lock_guard lock(mutex_);
        if (!plugged_) {
            return; // pulled out before it could answer
        }
        fault = faults_.next();
    }
    Report answer{};
    switch (fault) {
    case Fault::NoAnswer:
        return;
    case Fault::StatusFF:
        answer = answer_header(request, kStatusOutOfRange);
        break;
    case Fault::StatusFE:
        answer = answer_header(request, kStatusUnknownCommand);
        break;
    case Fault::BadEcho:
        answer = answer_header(request, kStatusAccepted);
        answer[3] = static_cast<std::uint8_t>(request[3] ^ 0x80);
        break;
    case Fault::None:
        answer = lease_.execute(request);
        break;
    }
    seal_answer(answer);
    traffic_.record('<', answer);
    // To this instance's standing reads only, that is to this process: a second program on the
    // same folder runs its own keyboard and never hears these answers (a real keyboard's reach
    // every program's open handle).
    deliver(Unit::Command, HIDSERV_KIND_DATA, static_cast<std::uint32_t>(answer.size()),
            answer.data());
}

void VirtualKeyboard::deliver(Unit unit, std::uint32_t kind, std::uint32_t length_or_count,
                              const std::uint8_t* data) {
    const std::lock_guard delivery(delivery_);
    std::vector<StandingRead> targets;
    {
        const std::lock_guard lock(mutex_);
        std::copy_if(reads_.begin(), reads_.end(), std::back_inserter(targets),
                     [&](const StandingRead& read) {
                         return read.unit == unit ||
                                (kind == HIDSERV_KIND_CONNECTION && read.unit != Unit::None);
                     });
    }
    for (const StandingRead& read : targets) {
        // An earlier callback of this delivery may have deleted the read.
        if (registered(read.handle)) {
            hidserv::notify(read.callback, kind, read.tag, length_or_count, data);
        }
    }
}

bool VirtualKeyboard::registered(HidRequestHandle handle) const {
    const std::lock_guard lock(mutex_);
    return std::any_of(reads_.begin(), reads_.end(),
                       [&](const StandingRead& read) { return read.handle == handle; });
}

std::string VirtualKeyboard::control(std::string_view command) {
    hidserv::debug_line(1, "control: " + std::string(command));
    const auto [word, argument] = split_command(command);
    if (word == "plug" || word == "unplug") {
        return set_plugged(word == "plug");
    }
    if (word == "consumer") {
        return send_consumer_code(argument);
    }
    if (word == "latency") {
        return set_latency(argument);
    }
    if (word == "fault") {
        return set_faults(argument);
    }
    if (word == "status") {
        return describe();
    }
    return "error: unknown command '" + std::string(word) +
           "' (plug, unplug, consumer CODE, latency MS, fault PLAN, status)";
}

std::string VirtualKeyboard::set_plugged(bool plugged) {
    {
        const std::lock_guard lock(mutex_);
        if (plugged_ == plugged) {
            return "ok";
        }
        plugged_ = plugged;
    }
    const std::uint32_t count = plugged ? 1 : 0;
    post(std::chrono::milliseconds(0),
         [this, count] { deliver(Unit::None, HIDSERV_KIND_CONNECTION, count, nullptr); });
    return "ok";
}

std::string VirtualKeyboard::send_consumer_code(std::string_view argument) {
    const std::optional<unsigned long> code = parse_number(argument);
    if (!code || *code > 0xFFFF) {
        return "error: consumer needs a 16-bit code, e.g. consumer 0x02ff";
    }
    if (!plugged()) {
        return "error: the keyboard is unplugged";
    }
    const std::array<std::uint8_t, 2> report = {static_cast<std::uint8_t>(*code & 0xFF),
                                                static_cast<std::uint8_t>(*code >> 8)};
    post(std::chrono::milliseconds(0), [this, report] {
        deliver(Unit::Consumer, HIDSERV_KIND_DATA, report.size(), report.data());
    });
    return "ok";
}

std::string VirtualKeyboard::set_latency(std::string_view argument) {
    const std::optional<std::chrono::milliseconds> latency = parse_latency(argument);
    if (!latency) {
        return "error: latency needs a number of milliseconds from 0 to " +
               std::to_string(kMaxLatency.count());
    }
    const std::lock_guard lock(mutex_);
    latency_ = *latency;
    return "ok";
}

std::string VirtualKeyboard::set_faults(std::string_view argument) {
    const std::optional<FaultPlan> plan = FaultPlan::parse(argument);
    if (!plan) {
        return "error: fault needs none|no-answer|status-ff|status-fe|bad-echo [count] [after]";
    }
    const std::lock_guard lock(mutex_);
    faults_ = *plan;
    return "ok";
}

std::string VirtualKeyboard::describe() const {
    const std::lock_guard lock(mutex_);
    std::string text = "ok plugged=" + std::string(plugged_ ? "yes" : "no") +
                       " latency=" + std::to_string(latency_.count()) +
                       " fault=" + faults_.describe() + " status-report=";
    text += status_report_ ? hidserv::hex_bytes(status_report_->data(), status_report_->size())
                           : "none";
    return text;
}

} // namespace tarvenor::sim
