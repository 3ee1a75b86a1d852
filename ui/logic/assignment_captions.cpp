#include "ui/logic/assignment_captions.h"

#include "model/assignment_caption.h"

#include <mutex>

namespace tarvenor {
namespace {

ButtonCaption caption_of(const Configuration& configuration, const TextTable& texts, int profile,
                         int slot, int control_id) {
    const KeyAssignment assignment =
        is_profile(profile) ? configuration.entry(flat_entry(profile, slot)) : KeyAssignment{};
    return {control_id, assignment_caption(slot, assignment, configuration.macros(), texts),
            !assignment.is(AssignmentType::Default)};
}

} // namespace

std::vector<ButtonCaption> assignment_captions(const Configuration& configuration,
                                               const TextTable& texts, int profile, int bank) {
    std::vector<ButtonCaption> captions;
    for (int j = 0; j < static_cast<int>(kGButtonCount); ++j) {
        captions.push_back(caption_of(configuration, texts, profile, g_button_slot(j, bank & 1),
                                      GButtonControlIds()[static_cast<std::size_t>(j)]));
    }
    for (const KeyboardKey& key : keyboard_key_list()) {
        captions.push_back(
            caption_of(configuration, texts, profile, key_index_of(key.code), key.control_id));
    }
    return captions;
}

} // namespace tarvenor
