#include "model/configuration.h"

#include <algorithm>
#include <vector>

namespace tarvenor {

Configuration::Configuration(const Configuration& other)
    : image_(other.image_), texts_(other.texts_), macros_(other.macros_) {}

Configuration& Configuration::operator=(const Configuration& other) {
    image_ = other.image_;
    texts_ = other.texts_;
    macros_ = other.macros_;
    return *this;
}

Configuration::Configuration(Configuration&& other) noexcept
    : image_(std::move(other.image_)), texts_(std::move(other.texts_)),
      macros_(std::move(other.macros_)) {}

Configuration& Configuration::operator=(Configuration&& other) noexcept {
    image_ = std::move(other.image_);
    texts_ = std::move(other.texts_);
    macros_ = std::move(other.macros_);
    return *this;
}

void Configuration::replace(Configuration other) {
    *this = std::move(other);
}

KeyAssignment Configuration::entry(int flat) const {
    return image_ ? image_->entry(flat) : KeyAssignment{};
}

void Configuration::assign(int flat, const KeyAssignment& assignment) {
    texts_.free(flat);
    if (image_) {
        image_->set_entry(flat, assignment);
    }
}

void Configuration::make_default_image() {
    image_ = tarvenor::make_default_image();
}

void Configuration::clear() {
    free_texts();
    free_macros();
    free_image();
}

int Configuration::macro_position(std::uint32_t id) const {
    return tarvenor::macro_position(macros_, id);
}

std::uint16_t Configuration::macro_id_at(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= macros_.size()) {
        return 0;
    }
    return macros_[static_cast<std::size_t>(position)].id;
}

bool Configuration::repair_macro_reference(int flat, const MacroStore& edited) {
    KeyAssignment assignment = image_->entry(flat);
    if (!assignment.is(AssignmentType::Macro)) {
        return false;
    }
    if (assignment.param == 0) {
        if (edited.empty()) {
            return false;
        }
        assignment.param = edited.front().id;
    } else {
        const auto found = std::find_if(edited.begin(), edited.end(), [&](const MacroRecord& m) {
            return m.id == assignment.param;
        });
        if (found != edited.end() && found->is_new == 0) {
            return false;
        }
        assignment.type = static_cast<std::uint16_t>(AssignmentType::Default);
    }
    image_->set_entry(flat, assignment);
    return true;
}

bool Configuration::commit_macro_store(MacroStore edited) {
    if (edited.size() > MacroRecord::kMaxCount) {
        return false;
    }
    std::vector<int> repaired;
    for (int flat = 0; image_ && flat < kFlatEntryCount; ++flat) {
        if (repair_macro_reference(flat, edited)) {
            repaired.push_back(flat);
        }
    }
    for (MacroRecord& record : edited) {
        record.is_new = 0;
    }
    macros_ = std::move(edited);
    if (observer_ != nullptr) {
        for (const int flat : repaired) {
            observer_->entry_changed(flat);
            observer_->mark_changed();
        }
    }
    return true;
}

std::optional<DownloadSnapshot> take_download_snapshot(const Configuration& configuration) {
    if (!configuration.has_image()) {
        return std::nullopt;
    }
    DownloadSnapshot snapshot{configuration.image(), configuration.macros()};
    snapshot.image.set_header(make_file_header(static_cast<std::uint16_t>(snapshot.macros.size()),
                                               configuration.texts().total()));
    return snapshot;
}

} // namespace tarvenor
