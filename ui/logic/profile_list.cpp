#include "ui/logic/profile_list.h"

#include "model/key_assignment.h"

namespace tarvenor {

ProfileRow ProfileRow::of(const std::filesystem::path& file) {
    std::string folder = file.parent_path().string();
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return {file.stem().string(), folder};
}

void ProfileList::fill(const UserStorage& storage, int current_profile) {
    rows_.clear();
    for (int p = 0; p < kKeyboardProfiles; ++p) {
        rows_.push_back(ProfileRow::of(storage.mirror_path(p)));
    }
    checked_ = is_profile(current_profile) ? current_profile : -1;
    pending_ = false;
}

void ProfileList::append(const std::filesystem::path& file) {
    rows_.push_back(ProfileRow::of(file));
    pending_ = true;
}

std::optional<std::string> ProfileList::file_of(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) ||
        rows_[static_cast<std::size_t>(row)].name.empty()) {
        return std::nullopt;
    }
    return rows_[static_cast<std::size_t>(row)].file();
}

int ProfileList::remove(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        return -1;
    }
    rows_.erase(rows_.begin() + row);
    if (checked_ == row) {
        checked_ = -1;
    } else if (checked_ > row) {
        --checked_;
    }
    pending_ = true;
    return std::min(row, static_cast<int>(rows_.size()) - 1);
}

ProfileList::Check ProfileList::set_checked(int row, bool checked) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        return Check::Unchecked;
    }
    if (checked && !is_profile(row)) {
        return Check::BeyondProfiles;
    }
    if (checked) {
        pending_ |= checked_ != row;
        checked_ = row;
        return Check::Checked;
    }
    if (checked_ == row) {
        checked_ = -1;
        pending_ = true;
    }
    return Check::Unchecked;
}

void ProfileList::show_active(int profile) {
    checked_ = is_profile(profile) && profile < static_cast<int>(rows_.size()) ? profile : -1;
    pending_ = false;
}

FileWriteResult ProfileList::store(SettingsStore& settings) const {
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (FileWriteResult stored =
                settings.set_value(profile_list_key(static_cast<int>(r) + 1), rows_[r].file());
            !stored) {
            return stored;
        }
    }
    return settings.set_value(profile_list_key(0), std::to_string(rows_.size()));
}

std::optional<int> ProfileList::chosen_profile() const {
    if (!is_profile(checked_)) {
        return std::nullopt;
    }
    return checked_;
}

ProfileLabel profile_label(const UserStorage& storage, const TextTable& texts,
                           int current_profile) {
    ProfileLabel label;
    label.caption = is_profile(current_profile)
                        ? storage.mirror_path(current_profile).stem().string()
                        : texts.text(TextKey::DefaultProfileName);
    label.tooltip = texts.text(TextKey::ProfileTip) + label.caption;
    return label;
}

} // namespace tarvenor
