#include "device/keyboard_profile_file.h"

#include "model/macro_block.h"
#include "model/profile_file.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <optional>

namespace tarvenor {
namespace {

constexpr std::size_t kMacroHeadSize = MacroBlockLayout::kHeaderSize;

bool read_profile_blocks(CommandSet& commands, std::array<ProfileBlock, kKeyboardProfiles>& out) {
    for (int profile = 0; profile < kKeyboardProfiles; ++profile) {
        KeyMatrix block{};
        if (commands.read_profile_block(profile, block) != DeviceStatus::Success) {
            return false;
        }
        out[static_cast<std::size_t>(profile)] = ProfileBlock(block);
    }
    return true;
}

// The macro block at the start of the macro area: its header tells how much more to read, but
// never more than the macro memory holds, so that a damaged size cannot make the whole read
// fail. An area without a block gives its header bytes, which decode to no macros.
std::optional<Bytes> read_macro_block(CommandSet& commands) {
    Bytes head(kMacroHeadSize);
    if (commands.read_macro_area(head) != DeviceStatus::Success) {
        return std::nullopt;
    }
    std::size_t size = macro_block_read_size(head);
    if (const int space = commands.facts().macro_space(); space > 0) {
        size = std::min(size, static_cast<std::size_t>(space));
    }
    if (size <= head.size()) {
        return head;
    }
    Bytes block(size);
    if (commands.read_macro_area(block) != DeviceStatus::Success) {
        return std::nullopt;
    }
    return block;
}

} // namespace

const char* describe(KeyboardFileResult result) {
    switch (result) {
    case KeyboardFileResult::Written:
        return "written";
    case KeyboardFileResult::ProfileUnknown:
        return "the keyboard did not tell its active profile";
    case KeyboardFileResult::FactoryMatrixMissing:
        return "the keyboard's factory key codes could not be read";
    case KeyboardFileResult::ReadFailed:
        return "the keyboard's key codes or macros could not be read";
    case KeyboardFileResult::WriteFailed:
        return "the file could not be written";
    }
    return "unknown result";
}

KeyboardFileResult read_keyboard_file(CommandSet& commands, const TextTable& texts, Bytes& file) {
    if (commands.get_current_profile() == DeviceFacts::kUnknownProfile) {
        return KeyboardFileResult::ProfileUnknown;
    }
    const std::optional<KeyMatrix> factory = commands.facts().default_key_matrix();
    if (!factory) {
        return KeyboardFileResult::FactoryMatrixMissing;
    }
    std::array<ProfileBlock, kKeyboardProfiles> profiles;
    if (!read_profile_blocks(commands, profiles)) {
        return KeyboardFileResult::ReadFailed;
    }
    const std::optional<Bytes> macros = read_macro_block(commands);
    if (!macros) {
        return KeyboardFileResult::ReadFailed;
    }
    file = build_profile_file_image(profiles, *macros, DefaultKeyMatrix(*factory), texts);
    return KeyboardFileResult::Written;
}

KeyboardFileResult build_file_from_keyboard(CommandSet& commands, const TextTable& texts,
                                            const std::filesystem::path& path,
                                            FileWriteResult* written) {
    Bytes file;
    if (const KeyboardFileResult read = read_keyboard_file(commands, texts, file);
        read != KeyboardFileResult::Written) {
        return read;
    }
    const FileWriteResult result = write_profile_bytes(path, file);
    if (written != nullptr) {
        *written = result;
    }
    return result ? KeyboardFileResult::Written : KeyboardFileResult::WriteFailed;
}

} // namespace tarvenor
