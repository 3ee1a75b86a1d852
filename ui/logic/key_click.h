#pragma once

#include <cstdint>
#include <optional>

namespace tarvenor {

// What the assignment dialog is told before it opens: which key to edit, from which button.
struct KeyClickRequest {
    std::uint16_t reserved = 0;
    // The KeyIndex of a key button; 0x100 + slot for a G key (slot j in bank A, j + 9 in B).
    std::uint16_t key_number = 0;
    int control_id = 0;
    // Only macros may be given: exactly the G9 button (and the macro-edit button, which is G9).
    bool macro_only = false;
    int bank = 0;

    friend bool operator==(const KeyClickRequest&, const KeyClickRequest&) = default;
};

enum class ClickAction {
    Nothing,
    Paint,  // the lighting switch is on: the key takes the paint colour
    Assign, // the assignment dialog opens with the request
};

struct ClickOutcome {
    ClickAction action = ClickAction::Nothing;
    KeyClickRequest request;
    // The button whose look turns highlighted (G9 for the macro-edit button).
    int highlighted_control = 0;
};

// A click on a control of the keyboard drawing. `bank` is bit 0 of BankFlags.
ClickOutcome decide_click(int control_id, bool light_switch, int bank);

} // namespace tarvenor
