#pragma once

#include "device/device_facts.h"
#include "device/device_memory.h"
#include "device/device_status.h"
#include "device/report_exchange.h"

#include <atomic>
#include <cstdint>
#include <span>

namespace tarvenor {

// Command numbers (byte 3 of a request).
enum class Command : std::uint8_t {
    BeginTransfer = 1,
    EndTransfer = 2,
    ReadParameters = 3,
    WriteParameters = 4,
    ReadSettings = 5,
    WriteSettings = 6,
    ReadProfileBlock = 7,
    WriteProfileBlock = 8,
    ReadMacroArea = 9,
    WriteMacroArea = 10,
    ReadDefaultKeyMatrix = 15,
    ReadKeyColours = 16,
    WriteKeyColours = 17,
};

inline constexpr std::chrono::milliseconds kEndTransferPause{10};

// The keyboard's command set. Every command returns the exchange's failure, or Rejected /
// UnknownCommand for an answer with status 0xFF / 0xFE, or Success (answer data then copied to
// the caller). Blocks larger than one report travel in 56-byte chunks, one exchange each; the
// first failing chunk ends the transfer and leaves the caller's buffer untouched from there on.
// Nothing is sent for an argument the keyboard cannot take (InvalidArgument).
//
// Within an operation, a command that nothing answered in all its attempts ends the operation:
// every later command fails at once with NoAnswer and sends nothing, except that an open transfer
// still gets one EndTransfer attempt. Otherwise a keyboard that stopped answering would cost the
// full retry time of every command left.
//
// A stop request (the program is ending) works the same way from the next command on, for good:
// every command fails with Stopped and sends nothing, except one EndTransfer attempt for an open
// transfer, so the keyboard is left at a safe point.
class CommandSet {
public:
    CommandSet(ReportExchange& exchange, DeviceFacts& facts);

    // One operation is one hold of the keyboard lock (KeyboardSession). A new one tries the
    // keyboard afresh. Outside an operation every command stands on its own.
    void begin_operation();
    void end_operation();

    // Sequences that touch settings, colours, profile blocks or the macro area are bracketed by
    // these two. EndTransfer waits 10 ms before it is sent.
    DeviceStatus begin_transfer();
    DeviceStatus end_transfer();

    DeviceStatus read_parameters(ParameterBlock& block);
    DeviceStatus write_parameters(const ParameterBlock& block);

    // Settings: byte-addressed; profile p's 42-byte record starts at p * 42. At most 56 bytes.
    DeviceStatus read_settings(std::uint16_t address, std::uint8_t length, ReportData& data);
    DeviceStatus write_settings(std::uint16_t address, std::span<const std::uint8_t> data);

    DeviceStatus read_profile_block(int profile, KeyMatrix& block);
    DeviceStatus write_profile_block(int profile, const KeyMatrix& block);
    DeviceStatus read_macro_area(std::span<std::uint8_t> area);
    DeviceStatus write_macro_area(std::span<const std::uint8_t> area);
    DeviceStatus read_default_key_matrix(KeyMatrix& matrix);

    // Key colours: three bytes per key position (0..125) of a profile, at position * 3 +
    // profile * 512. At most 56 bytes (callers move 18 keys, 54 bytes).
    DeviceStatus read_key_colours(int profile, int position, std::uint8_t length, ReportData& data);
    DeviceStatus write_key_colours(int profile, int position, std::span<const std::uint8_t> rgb);

    // The active profile: the cached value, else read from the keyboard (-1 when the read fails
    // or the keyboard names no valid profile; the cache then stays unknown).
    int get_current_profile();
    // Makes a profile (0..2) active: read the parameters, change byte 10, write them back. On
    // success the cache holds the profile; after a failed write it is unknown; a failed read
    // changes nothing.
    DeviceStatus set_current_profile(int profile);
    // Reads the parameters and stores the macro memory size and the active profile; a failure
    // leaves both.
    DeviceStatus read_macro_space();

    DeviceFacts& facts() { return facts_; }

    // Any thread; the command under way finishes, the next one is held back.
    void request_stop() { stop_requested_.store(true); }
    bool stop_requested() const { return stop_requested_.load(); }
    // A command of the current operation was held back by the stop request.
    bool operation_stopped() const { return operation_stopped_; }

private:
    DeviceStatus single(Command command, std::uint8_t length, std::uint16_t address,
                        std::span<const std::uint8_t> data, std::span<std::uint8_t> answer_data);
    DeviceStatus chunked(Command command, std::uint16_t base, std::size_t total,
                         const std::uint8_t* source, std::uint8_t* destination);
    DeviceStatus send(const DeviceReport& request, DeviceReport& answer);

    ReportExchange& exchange_;
    DeviceFacts& facts_;
    bool in_operation_ = false;
    bool silent_ = false;        // a command of this operation went unanswered
    bool transfer_open_ = false; // BeginTransfer reached the keyboard, EndTransfer not yet sent
    bool operation_stopped_ = false;
    std::atomic<bool> stop_requested_{false};
};

} // namespace tarvenor
