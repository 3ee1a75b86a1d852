#pragma once

#include "device/commands.h"
#include "model/atomic_file.h"
#include "model/configuration.h"
#include "model/text_table.h"
#include "model/user_storage.h"

#include <filesystem>

namespace tarvenor {

enum class KeyboardFileResult {
    Written,
    ProfileUnknown,       // the keyboard did not name its active profile
    FactoryMatrixMissing, // the factory key codes were never read
    ReadFailed,           // a profile block or the macro area could not be read
    WriteFailed,          // the file could not be written
};

const char* describe(KeyboardFileResult result);

// Reads the keyboard's three profile blocks and its macro block (no BeginTransfer/EndTransfer
// around them) and writes them as a profile file: tables 0..2 decoded against the factory key
// codes, table 3 empty, no texts. The file is replaced atomically and only after every read
// succeeded, so any failure leaves the previous file as it was. `written`, when given, receives
// why the file could not be written.
KeyboardFileResult build_file_from_keyboard(CommandSet& commands, const TextTable& texts,
                                            const std::filesystem::path& path,
                                            FileWriteResult* written = nullptr);

// The same reads, into the bytes of such a file in memory: Written means `file` holds them.
KeyboardFileResult read_keyboard_file(CommandSet& commands, const TextTable& texts, Bytes& file);

} // namespace tarvenor
