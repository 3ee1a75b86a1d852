#pragma once

#include "model/text_table.h"
#include "model/user_storage.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarvenor {

// One row of the profile manager: a profile file's name (without extension) and its folder
// (ending in the separator).
struct ProfileRow {
    std::string name;
    std::string folder;

    static ProfileRow of(const std::filesystem::path& file);
    std::string file() const { return folder + name + ".tvp"; }
};

// The profile manager's list and its pending state. Only the first three rows stand for the
// keyboard's profiles; a later row cannot be made active.
class ProfileList {
public:
    enum class Check { Checked, Unchecked, BeyondProfiles };

    // Three rows, all naming the mirror; the active profile's row checked; nothing pending.
    void fill(const UserStorage& storage, int current_profile);
    void append(const std::filesystem::path& file);
    // The file a row names, none for a row without a name or beyond the list.
    std::optional<std::string> file_of(int row) const;
    // Removes a row; the row after it (or the new last one) becomes the selection (-1: none).
    int remove(int row);
    // Checks one row (unchecking the others) or unchecks it. A row beyond the third is refused.
    Check set_checked(int row, bool checked);
    // Clears the check marks and pending state after a switch from the main window.
    void show_active(int profile);

    // "PROFILE01".. one per row, then "PROFILE00" the count; stops at the first value that
    // could not be stored and says why.
    FileWriteResult store(SettingsStore& settings) const;
    // The profile the checked row stands for, none when no row is checked.
    std::optional<int> chosen_profile() const;

    const std::vector<ProfileRow>& rows() const { return rows_; }
    int checked() const { return checked_; }
    bool pending() const { return pending_; }
    void clear_pending() { pending_ = false; }

private:
    std::vector<ProfileRow> rows_;
    int checked_ = -1;
    bool pending_ = false;
};

// The profile-manager button's caption: the mirror's name, or DEFAULT_PROFILE_NAME while the
// active profile is unknown; the tooltip is PROFILE_TIP followed by the caption.
struct ProfileLabel {
    std::string caption;
    std::string tooltip;
};
ProfileLabel profile_label(const UserStorage& storage, const TextTable& texts, int current_profile);

} // namespace tarvenor
