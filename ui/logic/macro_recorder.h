#pragma once

#include "model/text_table.h"
#include "ui/logic/assignment_actions.h"
#include "ui/logic/control_ids.h"
#include "ui/logic/key_stroke.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tarvenor {

// A millisecond tick that never goes back; differences are taken modulo 2^32.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual std::uint32_t now_ms() const = 0;
};

// The system's steady clock.
class SteadyClock : public MonotonicClock {
public:
    std::uint32_t now_ms() const override;
};

// Recording a macro from the keyboard: while it runs every keystroke except media keys is taken
// from the desktop and becomes a row of the action list, with the time since the previous one.
class MacroRecorder {
public:
    static constexpr std::uint32_t kFixedDelay = 50;
    static constexpr std::uint32_t kMakeOnlyDelay = 2;

    explicit MacroRecorder(const MonotonicClock& clock) : clock_(clock) {}

    bool recording() const { return recording_; }
    // ToggleRecording.
    void toggle();
    void start();
    // StopRecording: nothing when not recording.
    void stop();

    // 1: measured delays; 0: a fixed 50 ms for every recorded action.
    int record_delay() const { return record_delay_; }
    void set_record_delay(int option) { record_delay_ = option == 1 ? 1 : 0; }

    // A keystroke while recording; rows go in after the selected row. `added` tells whether a row
    // was added. Keystrokes pass untouched when not recording, and so do media keys and keys
    // without a code. Repeats (auto_repeat set, down or up) are swallowed and not recorded.
    KeyVerdict key_stroke(const KeyStroke& stroke, ActionList& actions, bool& added);
    // Adds a release row for each key recorded going down and not yet up, so that the macro
    // never leaves a key held; true when a row was added. For a recording whose keys stop
    // coming (the window lost the keyboard).
    bool release_held(ActionList& actions);

    // The record button's text; nothing until it was first pressed (it keeps its own caption).
    std::optional<TextKey> button_text() const;
    // Controls disabled while recording: add and delete macro, the macro pick-list.
    bool disables(AssignmentControl control) const;
    // Forgets the button's pressed history for the next opening of the dialog.
    void reset();

private:
    std::uint32_t delay_since_last(std::uint32_t now) const;
    bool add(KeyCode code, std::uint16_t direction, std::uint32_t delay, ActionList& actions);
    void record(KeyCode code, bool release, ActionList& actions, bool& added);
    bool is_repeat(const KeyStroke& stroke);

    const MonotonicClock& clock_;
    bool recording_ = false;
    bool toggled_ = false;
    int record_delay_ = 0;
    std::uint32_t last_event_ = 0;
    KeyCode remembered_win_key_ = 0;
    // Keys down in the recording, in the order they went down.
    std::vector<KeyCode> held_;
};

} // namespace tarvenor
