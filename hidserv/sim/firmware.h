#pragma once

#include "hidserv/sim/area_file.h"
#include "hidserv/sim/factory.h"
#include "hidserv/sim/memory_lock.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace tarvenor::sim {

using Report = std::array<std::uint8_t, 64>;

inline constexpr std::uint8_t kStatusAccepted = 0x00;
inline constexpr std::uint8_t kStatusOutOfRange = 0xFF;
inline constexpr std::uint8_t kStatusUnknownCommand = 0xFE;

// The keyboard's side of the command interface: it executes one command report against its
// memory and builds the answer. It works on raw bytes only, so that it cannot share a mistake
// with the program's own encoders. The memory is the files themselves, read and written in place
// under the folder's lock for each command: every program running a virtual keyboard on the
// folder talks to one keyboard. (Writing a copy and renaming it over the file would leave the
// other programs reading the old file through the descriptors they hold.)
class Firmware {
public:
    // Opens (creating when needed) the area files in the folder.
    bool open(const std::filesystem::path& folder, std::string& error);

    // Takes the folder's lock for the command, unless it is held already (hold_memory()).
    Report execute(const Report& request);

    // Keeps the folder's lock, exclusive, until release_memory(), so that a run of commands
    // takes it once. False when it cannot be taken; commands then take it each.
    bool hold_memory();
    void release_memory();
    bool holds_memory() const { return held_.has_value(); }

private:
    std::size_t area_size(Area area);
    bool write_area(Area area, std::size_t address, std::span<const std::uint8_t> bytes);

    MemoryLock lock_;
    std::map<Area, AreaFile> areas_;
    // While the memory is held no other program can change the macro area's size, so it is read
    // once per hold, not once per command.
    std::optional<std::size_t> held_macro_size_;
    std::optional<MemoryLock::Hold> held_; // last, so that it is let go first
};

// An answer that echoes the request's header (command, length, address) and carries a status.
Report answer_header(const Report& request, std::uint8_t status);
// Puts the sum of bytes 3..63 into bytes 1 and 2.
void seal_answer(Report& answer);

} // namespace tarvenor::sim
