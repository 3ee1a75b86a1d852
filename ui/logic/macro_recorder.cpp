#include "ui/logic/macro_recorder.h"

#include "ui/logic/control_ids.h"

#include <algorithm>
#include <chrono>

namespace tarvenor {
namespace {

constexpr KeyCode kWinKey = 0x15B;
constexpr KeyCode kRightWinKey = 0x15C;

bool is_win_key(KeyCode code) {
    return code == kWinKey || code == kRightWinKey;
}

} // namespace

std::uint32_t SteadyClock::now_ms() const {
    const auto since_start = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}

void MacroRecorder::toggle() {
    toggled_ = true;
    if (recording_) {
        stop();
    } else {
        start();
    }
}

void MacroRecorder::start() {
    recording_ = true;
    last_event_ = clock_.now_ms();
    remembered_win_key_ = 0;
    held_.clear();
}

void MacroRecorder::stop() {
    recording_ = false;
    remembered_win_key_ = 0;
}

void MacroRecorder::reset() {
    stop();
    toggled_ = false;
}

std::optional<TextKey> MacroRecorder::button_text() const {
    if (!toggled_) {
        return std::nullopt;
    }
    return recording_ ? TextKey::MacroActionStopRecord : TextKey::MacroActionRecord;
}

bool MacroRecorder::disables(AssignmentControl control_id) const {
    return recording_ && (control_id == AssignmentControl::AddMacro ||
                          control_id == AssignmentControl::DeleteMacro ||
                          control_id == AssignmentControl::MacroList);
}

KeyVerdict MacroRecorder::key_stroke(const KeyStroke& stroke, ActionList& actions, bool& added) {
    added = false;
    if (!recording_ || stroke.code == 0 || is_media_key(stroke.code)) {
        return KeyVerdict::Pass;
    }
    if (!is_repeat(stroke)) {
        record(stroke.code, stroke.release, actions, added);
    }
    return KeyVerdict::Swallow;
}

// The desktop does not always flag the Win keys' repeats: a key-down of the Win key last seen
// going down is one. Any real release forgets it.
bool MacroRecorder::is_repeat(const KeyStroke& stroke) {
    if (stroke.auto_repeat) {
        return true;
    }
    if (stroke.release) {
        remembered_win_key_ = 0;
        return false;
    }
    if (!is_win_key(stroke.code)) {
        return false;
    }
    const bool repeat = remembered_win_key_ == stroke.code;
    remembered_win_key_ = stroke.code;
    return repeat;
}

std::uint32_t MacroRecorder::delay_since_last(std::uint32_t now) const {
    if (record_delay_ == 0) {
        return kFixedDelay;
    }
    return std::min(now - last_event_, MacroAction::kMaxDelay);
}

bool MacroRecorder::add(KeyCode code, std::uint16_t direction, std::uint32_t delay,
                        ActionList& actions) {
    const RowPlacement placement{.after_selection = true, .keep_delay = false, .select = true};
    return actions.add_action_row(MacroAction{delay, code, direction}, placement);
}

void MacroRecorder::record(KeyCode code, bool release, ActionList& actions, bool& added) {
    const std::uint32_t now = clock_.now_ms();
    if (is_make_only_key(code)) {
        const std::uint32_t extra = record_delay_ == 0 ? kFixedDelay : kMakeOnlyDelay;
        added = add(code, MacroAction::kDown, extra, actions) || added;
    }
    const auto direction = release ? MacroAction::kUp : MacroAction::kDown;
    added = add(code, direction, delay_since_last(now), actions) || added;
    last_event_ = now;
    std::erase(held_, code);
    if (!release) {
        held_.push_back(code);
    }
}

bool MacroRecorder::release_held(ActionList& actions) {
    bool added = false;
    // record() takes each key off the list.
    for (const KeyCode code : std::vector<KeyCode>(held_)) {
        record(code, true, actions, added);
    }
    return added;
}

} // namespace tarvenor
