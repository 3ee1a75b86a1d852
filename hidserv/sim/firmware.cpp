#include "hidserv/sim/firmware.h"

#include <optional>
#include <utility>

namespace tarvenor::sim {
namespace {

constexpr std::uint8_t kAnswerReportId = 0x04;
constexpr std::size_t kDataOffset = 8;
constexpr std::size_t kMaxDataBytes = 56;

struct CommandInfo {
    std::uint8_t command;
    std::optional<Area> area; // none: the command only brackets a transfer
    bool writes;
};

constexpr CommandInfo kCommands[] = {
    {1, std::nullopt, false},    {2, std::nullopt, false},         {3, Area::Parameters, false},
    {4, Area::Parameters, true}, {5, Area::Settings, false},       {6, Area::Settings, true},
    {7, Area::Profiles, false},  {8, Area::Profiles, true},        {9, Area::Macros, false},
    {10, Area::Macros, true},    {15, Area::DefaultMatrix, false}, {16, Area::Colours, false},
    {17, Area::Colours, true},
};

const CommandInfo* find_command(std::uint8_t command) {
    for (const CommandInfo& info : kCommands) {
        if (info.command == command) {
            return &info;
        }
    }
    return nullptr;
}

std::size_t fixed_area_size(Area area) {
    switch (area) {
    case Area::Parameters:
        return kParameterBytes;
    case Area::Settings:
        return kSettingsBytes;
    case Area::Colours:
        return kColourBytes;
    case Area::Profiles:
        return kProfileBytes;
    case Area::DefaultMatrix:
        return kMatrixBytes;
    case Area::Macros:
        break;
    }
    return 0;
}

// The parameter block comes first: the macro area's size is read from it.
constexpr Area kAllAreas[] = {Area::Parameters, Area::Settings, Area::Colours,
                              Area::Profiles,   Area::Macros,   Area::DefaultMatrix};

} // namespace

Report answer_header(const Report& request, std::uint8_t status) {
    Report answer{};
    answer[0] = kAnswerReportId;
    answer[3] = request[3];
    answer[4] = request[4];
    answer[5] = request[5];
    answer[6] = request[6];
    answer[7] = status;
    return answer;
}

void seal_answer(Report& answer) {
    unsigned sum = 0;
    for (std::size_t i = 3; i < answer.size(); ++i) {
        sum += answer[i];
    }
    answer[1] = static_cast<std::uint8_t>(sum & 0xFF);
    answer[2] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
}

bool Firmware::open(const std::filesystem::path& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = folder.string() + ": " + ec.message();
        return false;
    }
    if (!lock_.open(folder / "memory.lock", error)) {
        return false;
    }
    // Another program may be starting on the same folder: one of us creates and mends the files.
    const MemoryLock::Hold hold = lock_.exclusive();
    if (!hold.held()) {
        error = folder.string() + ": the memory folder cannot be locked";
        return false;
    }
    for (Area area : kAllAreas) {
        std::vector<std::uint8_t> contents = factory_contents(area);
        if (area == Area::Macros) {
            // Its size follows the parameter block already open, not the factory's: cutting it to
            // the factory size would lose every macro beyond it.
            contents.resize(area_size(Area::Macros), 0);
        }
        if (!areas_[area].open(folder / area_file_name(area), contents, error)) {
            return false;
        }
    }
    return true;
}

std::size_t Firmware::area_size(Area area) {
    if (area != Area::Macros) {
        return fixed_area_size(area);
    }
    if (held_ && held_macro_size_) {
        return *held_macro_size_;
    }
    std::array<std::uint8_t, 1> units{};
    areas_.at(Area::Parameters).read(kMacroUnitsByte, units);
    const std::size_t size = units[0] * kMacroUnitBytes;
    if (held_) {
        held_macro_size_ = size;
    }
    return size;
}

bool Firmware::write_area(Area area, std::size_t address, std::span<const std::uint8_t> bytes) {
    if (!areas_[area].write(address, bytes)) {
        return false;
    }
    const bool macro_size_written = area == Area::Parameters && address <= kMacroUnitsByte &&
                                    address + bytes.size() > kMacroUnitsByte;
    if (macro_size_written) {
        held_macro_size_.reset();
    }
    return !macro_size_written || areas_[Area::Macros].resize(area_size(Area::Macros));
}

bool Firmware::hold_memory() {
    if (held_) {
        return true;
    }
    MemoryLock::Hold hold = lock_.exclusive();
    if (!hold.held()) {
        return false;
    }
    held_.emplace(std::move(hold));
    return true;
}

void Firmware::release_memory() {
    held_.reset();
    held_macro_size_.reset();
}

Report Firmware::execute(const Report& request) {
    const CommandInfo* info = find_command(request[3]);
    if (info == nullptr) {
        return answer_header(request, kStatusUnknownCommand);
    }
    const std::size_t length = request[4];
    const std::size_t address = request[5] | (request[6] << 8);
    if (!info->area) {
        return answer_header(request, kStatusAccepted);
    }
    std::optional<MemoryLock::Hold> own;
    if (!held_) {
        own.emplace(info->writes ? lock_.exclusive() : lock_.shared());
        if (!own->held()) {
            return answer_header(request, kStatusOutOfRange);
        }
    }
    if (length > kMaxDataBytes || address + length > area_size(*info->area)) {
        return answer_header(request, kStatusOutOfRange);
    }
    Report answer = answer_header(request, kStatusAccepted);
    const auto data = std::span<std::uint8_t>(answer).subspan(kDataOffset, length);
    const bool done =
        info->writes
            ? write_area(*info->area, address,
                         std::span<const std::uint8_t>(request).subspan(kDataOffset, length))
            : areas_[*info->area].read(address, data);
    if (!done) {
        return answer_header(request, kStatusOutOfRange);
    }
    return answer;
}

} // namespace tarvenor::sim
