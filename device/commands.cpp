#include "device/commands.h"

#include "model/lighting.h"

#include <algorithm>
#include <thread>

namespace tarvenor {
namespace {

constexpr std::size_t kAddressSpace = 0x10000;

// Address of a key position's colour; nullopt for a profile or position out of range.
std::optional<std::uint16_t> colour_address(int profile, int position) {
    if (!valid_profile(profile) || position < 0 || position >= kKeyPositions) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(
        KeyColourTable::device_address(profile, static_cast<std::size_t>(position)));
}

std::uint16_t profile_block_address(int profile) {
    return static_cast<std::uint16_t>(profile * kKeyMatrixSize);
}

} // namespace

CommandSet::CommandSet(ReportExchange& exchange, DeviceFacts& facts)
    : exchange_(exchange), facts_(facts) {}

void CommandSet::begin_operation() {
    in_operation_ = true;
    silent_ = false;
    transfer_open_ = false;
    operation_stopped_ = false;
}

void CommandSet::end_operation() {
    in_operation_ = false;
    silent_ = false;
    transfer_open_ = false;
}

DeviceStatus CommandSet::send(const DeviceReport& request, DeviceReport& answer) {
    const auto command = static_cast<Command>(request.command());
    const bool closing = command == Command::EndTransfer;
    const bool stopping = stop_requested();
    if ((silent_ || stopping) && !(closing && transfer_open_)) {
        operation_stopped_ = operation_stopped_ || stopping;
        return stopping ? DeviceStatus::Stopped : DeviceStatus::NoAnswer;
    }
    // Closing after silence or on the way out: one attempt, so that neither waits long.
    const DeviceStatus status = exchange_.exchange(request.bytes, answer, nullptr,
                                                   silent_ || stopping ? 1 : kExchangeAttempts);
    if (command == Command::BeginTransfer) {
        transfer_open_ = transfer_open_ ||
                         (status != DeviceStatus::NoDevice && status != DeviceStatus::SendRefused);
    } else if (closing) {
        transfer_open_ = false;
    }
    if (status == DeviceStatus::NoAnswer && in_operation_) {
        silent_ = true;
    }
    if (status != DeviceStatus::Success) {
        return status;
    }
    if (answer.status() == kAnswerStatusFF) {
        return DeviceStatus::Rejected;
    }
    if (answer.status() == kAnswerStatusFE) {
        return DeviceStatus::UnknownCommand;
    }
    return DeviceStatus::Success;
}

DeviceStatus CommandSet::single(Command command, std::uint8_t length, std::uint16_t address,
                                std::span<const std::uint8_t> data,
                                std::span<std::uint8_t> answer_data) {
    if (length > kReportDataSize || data.size() > kReportDataSize) {
        return DeviceStatus::InvalidArgument;
    }
    DeviceReport request =
        DeviceReport::request(static_cast<std::uint8_t>(command), length, address);
    std::copy(data.begin(), data.end(), request.data().begin());
    request.seal();
    DeviceReport answer;
    const DeviceStatus status = send(request, answer);
    if (status == DeviceStatus::Success) {
        std::copy_n(answer.data().begin(), std::min(answer_data.size(), kReportDataSize),
                    answer_data.begin());
    }
    return status;
}

DeviceStatus CommandSet::chunked(Command command, std::uint16_t base, std::size_t total,
                                 const std::uint8_t* source, std::uint8_t* destination) {
    if (base + total > kAddressSpace) {
        return DeviceStatus::InvalidArgument;
    }
    // One report for the whole transfer: after a short last chunk, a write still carries the
    // previous chunk's bytes behind its data, and the checksum covers them as sent.
    DeviceReport request = DeviceReport::request(static_cast<std::uint8_t>(command), 0, 0);
    for (std::size_t offset = 0; offset < total; offset += kReportDataSize) {
        const std::size_t length = std::min(kReportDataSize, total - offset);
        request.set_length(static_cast<std::uint8_t>(length));
        request.set_address(static_cast<std::uint16_t>(base + offset));
        if (source != nullptr) {
            std::copy_n(source + offset, length, request.data().begin());
        }
        request.seal();
        DeviceReport answer;
        if (const DeviceStatus status = send(request, answer); status != DeviceStatus::Success) {
            return status;
        }
        if (destination != nullptr) {
            std::copy_n(answer.data().begin(), length, destination + offset);
        }
    }
    return DeviceStatus::Success;
}

DeviceStatus CommandSet::begin_transfer() {
    return single(Command::BeginTransfer, 0, 0, {}, {});
}

DeviceStatus CommandSet::end_transfer() {
    std::this_thread::sleep_for(kEndTransferPause);
    return single(Command::EndTransfer, 0, 0, {}, {});
}

DeviceStatus CommandSet::read_parameters(ParameterBlock& block) {
    return single(Command::ReadParameters, kParameterBlockSize, 0, {}, block);
}

DeviceStatus CommandSet::write_parameters(const ParameterBlock& block) {
    return single(Command::WriteParameters, kParameterBlockSize, 0, block, {});
}

DeviceStatus CommandSet::read_settings(std::uint16_t address, std::uint8_t length,
                                       ReportData& data) {
    return single(Command::ReadSettings, length, address, {}, data);
}

DeviceStatus CommandSet::write_settings(std::uint16_t address, std::span<const std::uint8_t> data) {
    if (data.size() > kReportDataSize) {
        return DeviceStatus::InvalidArgument;
    }
    return single(Command::WriteSettings, static_cast<std::uint8_t>(data.size()), address, data,
                  {});
}

DeviceStatus CommandSet::read_profile_block(int profile, KeyMatrix& block) {
    if (!valid_profile(profile)) {
        return DeviceStatus::InvalidArgument;
    }
    return chunked(Command::ReadProfileBlock, profile_block_address(profile), block.size(), nullptr,
                   block.data());
}

DeviceStatus CommandSet::write_profile_block(int profile, const KeyMatrix& block) {
    if (!valid_profile(profile)) {
        return DeviceStatus::InvalidArgument;
    }
    return chunked(Command::WriteProfileBlock, profile_block_address(profile), block.size(),
                   block.data(), nullptr);
}

DeviceStatus CommandSet::read_macro_area(std::span<std::uint8_t> area) {
    return chunked(Command::ReadMacroArea, 0, area.size(), nullptr, area.data());
}

DeviceStatus CommandSet::write_macro_area(std::span<const std::uint8_t> area) {
    return chunked(Command::WriteMacroArea, 0, area.size(), area.data(), nullptr);
}

DeviceStatus CommandSet::read_default_key_matrix(KeyMatrix& matrix) {
    return chunked(Command::ReadDefaultKeyMatrix, 0, matrix.size(), nullptr, matrix.data());
}

DeviceStatus CommandSet::read_key_colours(int profile, int position, std::uint8_t length,
                                          ReportData& data) {
    const std::optional<std::uint16_t> address = colour_address(profile, position);
    if (!address) {
        return DeviceStatus::InvalidArgument;
    }
    return single(Command::ReadKeyColours, length, *address, {}, data);
}

DeviceStatus CommandSet::write_key_colours(int profile, int position,
                                           std::span<const std::uint8_t> rgb) {
    const std::optional<std::uint16_t> address = colour_address(profile, position);
    if (!address || rgb.size() > kReportDataSize) {
        return DeviceStatus::InvalidArgument;
    }
    return single(Command::WriteKeyColours, static_cast<std::uint8_t>(rgb.size()), *address, rgb,
                  {});
}

int CommandSet::get_current_profile() {
    if (const int cached = facts_.current_profile(); cached != DeviceFacts::kUnknownProfile) {
        return cached;
    }
    ParameterBlock block{};
    if (read_parameters(block) != DeviceStatus::Success) {
        return DeviceFacts::kUnknownProfile;
    }
    facts_.set_current_profile(active_profile_of(block));
    return facts_.current_profile();
}

DeviceStatus CommandSet::set_current_profile(int profile) {
    if (!valid_profile(profile)) {
        return DeviceStatus::InvalidArgument;
    }
    ParameterBlock block{};
    if (const DeviceStatus status = read_parameters(block); status != DeviceStatus::Success) {
        return status;
    }
    block[kActiveProfileByte] = static_cast<std::uint8_t>(profile);
    const DeviceStatus status = write_parameters(block);
    facts_.set_current_profile(status == DeviceStatus::Success ? profile
                                                               : DeviceFacts::kUnknownProfile);
    return status;
}

DeviceStatus CommandSet::read_macro_space() {
    ParameterBlock block{};
    const DeviceStatus status = read_parameters(block);
    if (status == DeviceStatus::Success) {
        facts_.set_macro_space(macro_space_of(block));
        // The same block names the active profile: cache it rather than read it again later.
        facts_.set_current_profile(active_profile_of(block));
    }
    return status;
}

} // namespace tarvenor
