#include "ui/logic/profile_switch_guard.h"

#include "model/key_assignment.h"

namespace tarvenor {

int ProfileSwitchGuard::target_of(int requested) {
    return is_profile(requested) ? requested : 0;
}

ProfileSwitchGuard::Step ProfileSwitchGuard::decide(bool editor_open, bool unsaved) const {
    if (editor_open || asking_) {
        return Step::Refuse;
    }
    return unsaved ? Step::AskSave : Step::Switch;
}

} // namespace tarvenor
