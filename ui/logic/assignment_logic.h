#pragma once

#include "model/configuration.h"
#include "model/key_assignment.h"
#include "model/text_table.h"
#include "model/user_storage.h"
#include "ui/logic/assignment_actions.h"
#include "ui/logic/assignment_macros.h"
#include "ui/logic/assignment_prompts.h"
#include "ui/logic/control_ids.h"
#include "ui/logic/key_click.h"
#include "ui/logic/key_stroke.h"
#include "ui/logic/macro_recorder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvenor {

// What the main window does after the dialog applied.
struct AssignmentApplyResult {
    // False: nothing was written (no profile known, "No Use!" was shown, or the dialog is closed).
    bool applied = false;
    // The key button's look: assigned when the new type is not Default.
    bool assigned_look = false;
    // Captions to rebuild and the main window's Apply to enable.
    bool refresh_captions = false;
    bool mark_changed = false;
};

// The assignment dialog's state and every decision it makes, without widgets. One instance lives
// as long as the main window, so that the new-macro name counter survives between openings.
class AssignmentLogic {
public:
    // Asked before a macro with actions or keys goes; %s is its name.
    static constexpr OwnText kDeleteMacroText{"MACRO_DELETE_CONFIRM",
                                              "Delete the macro \"%s\" and its actions?"};

    AssignmentLogic(Configuration& configuration, const TextTable& texts,
                    const LanguageFile& language, SettingsStore& settings,
                    AssignmentPrompts& prompts, const MonotonicClock& clock);

    // Opening: copies of the macros, the target's assignment in the profile's table, the
    // record-delay option; shows the initial page with the changed flag cleared.
    void open(const KeyClickRequest& request, int current_profile);
    bool is_open() const { return open_; }
    const KeyClickRequest& request() const { return request_; }

    // The page type (Default shows the single-key page without a key).
    AssignmentType page_type() const { return page_type_; }
    // The page on show: Key, Macro, Media or Function.
    AssignmentType shown_page() const;
    bool macro_only() const { return request_.macro_only; }
    // The four page buttons.
    void press_page_button(AssignmentControl page);
    void clear();
    AssignmentControl pressed_page_button() const;
    bool visible(AssignmentControl control) const;
    bool enabled(AssignmentControl control) const;
    // The page captures single keys: keystrokes that reach the dialog are taken.
    bool captures_keys() const;
    // Keystrokes are taken while keys are captured or recorded (a recording also grabs the
    // keyboard).
    bool wants_keyboard() const { return captures_keys() || recording(); }

    // Every keystroke the dialog's filter sees, while it is open.
    KeyVerdict key_stroke(const KeyStroke& stroke);
    KeyCode captured_key() const { return captured_key_; }
    // The key field: the captured key's name, empty without one.
    std::string captured_key_text() const;

    // Pick-lists of the media and function pages.
    std::vector<std::string> media_names() const;
    std::vector<std::string> function_names() const;
    int selected_media() const { return media_index_; }
    int selected_function() const { return function_index_; }
    void select_media(int index);
    void select_function(int index);

    // The macro pick-list.
    std::vector<std::string> macro_names() const { return macros_.names(); }
    int selected_macro() const { return macros_.selected(); }
    void add_macro();
    void delete_macro();
    void select_macro(int position);
    // Typing in the pick-list's edit field.
    void type_macro_name(const std::string& name);
    int name_counter() const { return name_counter_; }

    // The action list.
    const ActionList& actions() const { return actions_; }
    std::vector<ActionRowText> action_rows() const;
    void select_action(int row) { actions_.select(row); }
    void delete_action();
    void clear_actions();
    void move_action(RowMove move);
    // The names of the key cell's pick-list, by choice position.
    std::vector<std::string> key_choice_names() const;
    // The choice position the key cell's pick-list opens at.
    int key_choice_of_row(int row) const;
    void edit_key(int row, int choice_position);
    void edit_direction(int row, std::uint16_t direction);
    // Starting to edit a delay cell stops a recording.
    void begin_delay_edit();
    // Leaving a delay cell: returns the text the cell shows from now on.
    std::string commit_delay(int row, const std::string& text);
    // The cycles field: returns the text it shows from now on.
    std::string cycles_text() const { return cycles_text_; }
    std::string set_cycles_text(const std::string& text);

    // Recording.
    bool recording() const { return recorder_.recording(); }
    void toggle_recording();
    void stop_recording();
    // The dialog lost the keyboard where nothing grabs it (Wayland): a recording ends, and the
    // keys it saw go down get their release rows, so that nothing stays held in the macro.
    void keyboard_lost();
    // The record button's caption text key; nothing until it was first pressed.
    std::optional<TextKey> record_button_text() const { return recorder_.button_text(); }
    bool record_delay() const { return recorder_.record_delay() == 1; }
    void toggle_record_delay();

    // Apply enabled exactly while this holds.
    bool changed() const { return changed_; }
    // Apply, with the profile the keyboard has in force.
    AssignmentApplyResult apply(int current_profile);
    // OK: Apply, then close.
    AssignmentApplyResult ok(int current_profile);
    // Cancel, or the main window closing the dialog: every unapplied change is dropped.
    void cancel();

private:
    void show_page(bool initial);
    void show_macro_page(bool initial);
    void set_page_type(AssignmentType type);
    void save_selected_macro();
    void load_selected_macro();
    bool confirm_macro_delete(const MacroRecord& macro);
    KeyVerdict capture(const KeyStroke& stroke);
    void take_key(KeyCode code);
    KeyAssignment new_assignment(const KeyAssignment& old) const;
    void close();

    Configuration& configuration_;
    const TextTable& texts_;
    const LanguageFile& language_;
    SettingsStore& settings_;
    AssignmentPrompts& prompts_;
    MacroRecorder recorder_;

    KeyClickRequest request_;
    bool open_ = false;
    AssignmentType page_type_ = AssignmentType::Default;
    std::uint32_t param_ = 0;
    KeyCode captured_key_ = 0;
    int media_index_ = 0;
    int function_index_ = 0;
    MacroList macros_;
    ActionList actions_;
    std::string cycles_text_ = "1";
    int name_counter_ = 0;
    bool macro_page_seen_ = false;
    bool changed_ = false;
};

} // namespace tarvenor
