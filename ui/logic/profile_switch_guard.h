#pragma once

namespace tarvenor {

// Whether a profile switch may go ahead, and whether it must ask about unapplied changes first.
class ProfileSwitchGuard {
public:
    enum class Step {
        Refuse,  // the assignment dialog is open, or the save question is already on screen
        AskSave, // there are unapplied changes
        Switch,
    };

    // A target of 3 or more becomes 0, as does a negative one: only 0..2 reach the keyboard.
    static int target_of(int requested);

    Step decide(bool editor_open, bool unsaved) const;
    // Brackets the save question so that a second switch meanwhile is refused.
    void question_shown() { asking_ = true; }
    void question_answered() { asking_ = false; }

private:
    bool asking_ = false;
};

} // namespace tarvenor
