#pragma once

namespace tarvenor {

// The answer to the question about unapplied changes when the program is to end.
enum class SaveChoice { Apply, Discard, Cancel };

// Whether a profile switch may go ahead, and whether it must ask about unapplied changes first.
// Ending the program from the window or the tray asks the same way; both questions share the
// guard, so that neither is asked while the other is on screen.
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
    // Ending the program: the open assignment dialog does not stop it (it closes as cancelled).
    Step decide_exit(bool unsaved) const { return decide(false, unsaved); }
    // Brackets the save question so that a second switch meanwhile is refused.
    void question_shown() { asking_ = true; }
    void question_answered() { asking_ = false; }

private:
    bool asking_ = false;
};

} // namespace tarvenor
