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

// What the windows hear from a rebuild.
class RebuildObserver {
public:
    virtual ~RebuildObserver() = default;
    // The configuration was replaced as a whole: by the keyboard's own (from_keyboard; nothing is
    // then left to apply) or, when the keyboard could not be read, by the defaults. Called after
    // the configuration lock is released.
    virtual void configuration_replaced(bool from_keyboard) = 0;
};

// Makes the keyboard's configuration the program's, through the profile mirror: the mirror is
// rebuilt from the keyboard and loaded; when that fails the default image is installed instead
// (the previous mirror stays). Takes the configuration lock itself (the caller must not hold it).
// Returns whether the keyboard's configuration was installed.
bool rebuild_from_keyboard(CommandSet& commands, const UserStorage& storage,
                           Configuration& configuration, const TextTable& texts,
                           RebuildObserver& observer);

} // namespace tarvenor
