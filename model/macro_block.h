#pragma once

#include "model/byte_order.h"
#include "model/configuration.h"
#include "model/device_codes.h"
#include "model/macro_record.h"
#include "model/messages.h"
#include "model/text_table.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarvenor {

// The keyboard's packed image of all macros, written at the start of its macro area.
struct MacroBlockLayout {
    static constexpr std::uint16_t kMagic = 0x55AA;
    static constexpr std::size_t kHeaderSize = 16;
};

struct MacroBlockSizes {
    std::size_t without_names = 0;
    std::size_t with_names = 0;
};

MacroBlockSizes macro_block_sizes(const MacroStore& macros);

// The packed macro block; names are included or left out for every macro alike.
Bytes build_macro_block(const MacroStore& macros, bool with_names);

// The 4-byte encoding of one action.
std::array<std::uint8_t, 4> encode_macro_action(const MacroAction& action);
MacroAction decode_macro_action(std::span<const std::uint8_t> bytes);

// From the first 16 bytes of the keyboard's macro area: how many bytes hold the macro block, or
// 0 when the area holds none.
std::size_t macro_block_read_size(std::span<const std::uint8_t> head);

// The macros a block read from the keyboard holds, ids 1..n in block order. Offsets, counts and
// name lengths are checked against the bytes actually given: a record that starts outside them
// ends the decoding, actions and names running past them are cut. Unnamed macros are called
// MACRO_NEW_PREFIX and their number.
MacroStore decode_macro_block(std::span<const std::uint8_t> block, const TextTable& texts);

// What a download sends, decided before anything is sent.
struct DownloadPlan {
    enum class Outcome {
        Send,           // send the blocks below
        MacrosTooLarge, // the macros do not fit even without names: send nothing
    };
    struct ProfileWrite {
        int profile;
        ProfileBlock block;
    };

    Outcome outcome = Outcome::MacrosTooLarge;
    Bytes macro_block;
    bool names_dropped = false;
    std::vector<ProfileWrite> profiles;

    // The message the download shows: MacrosTooLarge instead of sending, MacroNamesDropped after
    // sending; none when everything fits.
    std::optional<Message> message() const;
};

// Plans the download of a snapshot: the macro block sized against the keyboard's macro space and
// the profile blocks of profiles 0..2 (all_profiles) or of current_profile alone (none when it is
// not 0..2).
DownloadPlan plan_macro_download(const DownloadSnapshot& snapshot, std::size_t macro_space,
                                 const DefaultKeyMatrix& matrix, bool all_profiles,
                                 int current_profile);

} // namespace tarvenor
