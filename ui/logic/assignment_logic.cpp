#include "ui/logic/assignment_logic.h"

#include "model/text_encoding.h"
#include "ui/logic/control_ids.h"

#include <algorithm>
#include <array>
#include <mutex>

namespace tarvenor {
namespace {

constexpr KeyCode kPrintScreen = 0x137;
constexpr int kTargetCount = kGSlotBase + kGSlotCount;

// Keys taken on any of their events, not just the first key-down: Print Screen, whose press the
// desktop may keep for itself, and the Win and App keys, which it may act on first.
bool taken_on_any_event(KeyCode code) {
    return code == kPrintScreen || code == 0x15B || code == 0x15C || code == 0x15D;
}

// The types the dialog gives a key; anything else came from a file or the keyboard.
bool dialog_type(AssignmentType type) {
    return type == AssignmentType::Default || type == AssignmentType::Key ||
           type == AssignmentType::Macro || type == AssignmentType::Media ||
           type == AssignmentType::Function;
}

bool is_g_target(int target) {
    return target >= kGSlotBase && target < kTargetCount;
}

int list_index_or_zero(std::uint32_t param, std::size_t count) {
    return param < count ? static_cast<int>(param) : 0;
}

constexpr std::array kMacroControls{
    AssignmentControl::AddMacro,     AssignmentControl::DeleteMacro,
    AssignmentControl::ActionList,   AssignmentControl::Record,
    AssignmentControl::DeleteAction, AssignmentControl::ClearActions,
    AssignmentControl::MoveTop,      AssignmentControl::MoveUp,
    AssignmentControl::MoveDown,     AssignmentControl::MoveBottom,
    AssignmentControl::RecordDelay,  AssignmentControl::RecordDelayLabel,
    AssignmentControl::Cycles,       AssignmentControl::CyclesLabel,
    AssignmentControl::MacroList,    AssignmentControl::MacroPrompt};

// Buttons that act on the selected macro. Record is not one of them: with no macro selected it
// makes one to record into.
bool needs_macro(AssignmentControl control) {
    return id_of(control) > id_of(AssignmentControl::Record) &&
           id_of(control) <= id_of(AssignmentControl::MoveBottom);
}

bool is_macro_control(AssignmentControl control_id) {
    return std::find(kMacroControls.begin(), kMacroControls.end(), control_id) !=
           kMacroControls.end();
}

// The controls shown only on one page.
bool is_page_control(AssignmentControl control_id, AssignmentType page) {
    switch (page) {
    case AssignmentType::Key:
        return control_id == AssignmentControl::KeyField ||
               control_id == AssignmentControl::KeyPrompt;
    case AssignmentType::Media:
        return control_id == AssignmentControl::MediaList ||
               control_id == AssignmentControl::MediaPrompt;
    case AssignmentType::Function:
        return control_id == AssignmentControl::FunctionList ||
               control_id == AssignmentControl::FunctionPrompt;
    default:
        return is_macro_control(control_id);
    }
}

} // namespace

AssignmentLogic::AssignmentLogic(Configuration& configuration, const TextTable& texts,
                                 const LanguageFile& language, SettingsStore& settings,
                                 AssignmentPrompts& prompts, const MonotonicClock& clock)
    : configuration_(configuration), texts_(texts), language_(language), settings_(settings),
      prompts_(prompts), recorder_(clock) {}

void AssignmentLogic::open(const KeyClickRequest& request, int current_profile) {
    close();
    request_ = request;
    open_ = true;
    recorder_.set_record_delay(read_record_delay(settings_, texts_));
    KeyAssignment assignment;
    macros_.load(configuration_.macros());
    if (is_profile(current_profile) && request.key_number < kTargetCount) {
        assignment = configuration_.entry(flat_entry(current_profile, request.key_number));
    }
    page_type_ = assignment.kind();
    param_ = assignment.param;
    if (request.macro_only) {
        page_type_ = AssignmentType::Macro;
    }
    show_page(true);
    changed_ = false;
}

AssignmentType AssignmentLogic::shown_page() const {
    switch (page_type_) {
    case AssignmentType::Macro:
    case AssignmentType::Media:
    case AssignmentType::Function:
        return page_type_;
    default:
        return AssignmentType::Key;
    }
}

void AssignmentLogic::show_page(bool initial) {
    const AssignmentType page = shown_page();
    if (page == AssignmentType::Macro) {
        show_macro_page(initial);
        return;
    }
    stop_recording();
    if (!initial) {
        return;
    }
    if (page == AssignmentType::Media) {
        media_index_ = list_index_or_zero(param_, kMediaKeyCount);
    } else if (page == AssignmentType::Function) {
        function_index_ = list_index_or_zero(param_, kFunctionCount);
    } else if (page_type_ == AssignmentType::Key) {
        captured_key_ = static_cast<KeyCode>(param_);
    }
}

void AssignmentLogic::show_macro_page(bool initial) {
    const bool first_visit = !macro_page_seen_;
    macro_page_seen_ = true;
    if (initial) {
        const int position = param_ == 0 ? -1 : macros_.position_of(param_);
        macros_.select(position < 0 ? 0 : position);
        load_selected_macro();
    } else if (first_visit && param_ == 0 && macros_.selected() < 0) {
        macros_.select(0);
        load_selected_macro();
    }
}

void AssignmentLogic::set_page_type(AssignmentType type) {
    page_type_ = type;
    show_page(false);
    changed_ = true;
}

void AssignmentLogic::press_page_button(AssignmentControl control_id) {
    if (!open_ || !enabled(control_id)) {
        return;
    }
    switch (control_id) {
    case AssignmentControl::PageKey:
        if (page_type_ != AssignmentType::Default && page_type_ != AssignmentType::Key) {
            set_page_type(AssignmentType::Key);
        }
        return;
    case AssignmentControl::PageMacro:
    case AssignmentControl::PageMedia:
    case AssignmentControl::PageFunction: {
        const AssignmentType type =
            control_id == AssignmentControl::PageMacro   ? AssignmentType::Macro
            : control_id == AssignmentControl::PageMedia ? AssignmentType::Media
                                                         : AssignmentType::Function;
        if (page_type_ != type) {
            set_page_type(type);
        }
        return;
    }
    default:
        return;
    }
}

void AssignmentLogic::clear() {
    if (!open_ || !enabled(AssignmentControl::Clear)) {
        return;
    }
    press_page_button(AssignmentControl::PageKey);
    if (page_type_ == AssignmentType::Key) {
        captured_key_ = 0;
        page_type_ = AssignmentType::Default;
    }
}

AssignmentControl AssignmentLogic::pressed_page_button() const {
    switch (shown_page()) {
    case AssignmentType::Macro:
        return AssignmentControl::PageMacro;
    case AssignmentType::Media:
        return AssignmentControl::PageMedia;
    case AssignmentType::Function:
        return AssignmentControl::PageFunction;
    default:
        return AssignmentControl::PageKey;
    }
}

bool AssignmentLogic::visible(AssignmentControl control_id) const {
    for (const AssignmentType page : {AssignmentType::Key, AssignmentType::Macro,
                                      AssignmentType::Media, AssignmentType::Function}) {
        if (is_page_control(control_id, page)) {
            return page == shown_page();
        }
    }
    return true;
}

bool AssignmentLogic::enabled(AssignmentControl control_id) const {
    if (control_id == AssignmentControl::Apply) {
        return changed_;
    }
    if (request_.macro_only &&
        (control_id == AssignmentControl::PageKey || control_id == AssignmentControl::PageMedia ||
         control_id == AssignmentControl::PageFunction || control_id == AssignmentControl::Clear)) {
        return false;
    }
    if (recorder_.disables(control_id)) {
        return false;
    }
    return !needs_macro(control_id) || macros_.selected() >= 0;
}

bool AssignmentLogic::captures_keys() const {
    return open_ && shown_page() == AssignmentType::Key;
}

KeyVerdict AssignmentLogic::key_stroke(const KeyStroke& stroke) {
    if (!open_) {
        return KeyVerdict::Pass;
    }
    if (recorder_.recording()) {
        bool added = false;
        const KeyVerdict verdict = recorder_.key_stroke(stroke, actions_, added);
        changed_ = changed_ || added;
        return verdict;
    }
    return captures_keys() ? capture(stroke) : KeyVerdict::Pass;
}

KeyVerdict AssignmentLogic::capture(const KeyStroke& stroke) {
    if (stroke.code == 0 || is_media_key(stroke.code)) {
        return KeyVerdict::Pass;
    }
    if ((!stroke.release && !stroke.auto_repeat) || taken_on_any_event(stroke.code)) {
        take_key(stroke.code);
    }
    return KeyVerdict::Swallow;
}

void AssignmentLogic::take_key(KeyCode code) {
    captured_key_ = code;
    page_type_ = AssignmentType::Key;
    changed_ = true;
}

std::string AssignmentLogic::captured_key_text() const {
    if (page_type_ != AssignmentType::Key || captured_key_ == 0) {
        return {};
    }
    return key_name(captured_key_, texts_);
}

std::vector<std::string> AssignmentLogic::media_names() const {
    std::vector<std::string> names;
    for (const KeyCode code : media_key_list()) {
        names.push_back(key_name(code, texts_));
    }
    return names;
}

std::vector<std::string> AssignmentLogic::function_names() const {
    std::vector<std::string> names;
    for (const TextKey key : function_list()) {
        names.push_back(texts_.text(key));
    }
    return names;
}

void AssignmentLogic::select_media(int index) {
    if (index >= 0 && index < static_cast<int>(kMediaKeyCount) && index != media_index_) {
        media_index_ = index;
        changed_ = true;
    }
}

void AssignmentLogic::select_function(int index) {
    if (index >= 0 && index < static_cast<int>(kFunctionCount) && index != function_index_) {
        function_index_ = index;
        changed_ = true;
    }
}

void AssignmentLogic::add_macro() {
    if (!open_ || !enabled(AssignmentControl::AddMacro)) {
        return;
    }
    if (macros_.full()) {
        prompts_.show_message(format_text(texts_.text(TextKey::MacroErrMax),
                                          static_cast<long long>(MacroRecord::kMaxCount)));
        return;
    }
    const std::u16string prefix = utf8_to_utf16(texts_.text(TextKey::MacroNewPrefix));
    std::u16string name = next_macro_name(macros_, prefix, name_counter_);
    save_selected_macro();
    macros_.add(std::move(name));
    load_selected_macro();
    changed_ = true;
}

void AssignmentLogic::delete_macro() {
    if (!open_ || !enabled(AssignmentControl::DeleteMacro)) {
        return;
    }
    const MacroRecord* macro = macros_.selected_macro();
    if (macro == nullptr) {
        return;
    }
    if (!confirm_macro_delete(*macro)) {
        return;
    }
    macros_.remove(macros_.selected());
    load_selected_macro();
    changed_ = true;
}

// Keys that play the macro get their own question. A new macro without actions goes without
// one: nothing is lost with it.
bool AssignmentLogic::confirm_macro_delete(const MacroRecord& macro) {
    if (macro.is_new != 1 && macro_used_by_keys(configuration_, macro.id)) {
        return prompts_.ask_yes_no(texts_.text(TextKey::MacroDeleteConfirmOfKeys));
    }
    if (macro.is_new == 1 && actions_.empty()) {
        return true;
    }
    return prompts_.ask_yes_no(
        format_text(language_.text(kDeleteMacroText), utf16_to_utf8(macro.name)));
}

void AssignmentLogic::select_macro(int position) {
    if (!open_ || !enabled(AssignmentControl::MacroList) || position == macros_.selected()) {
        return;
    }
    save_selected_macro();
    macros_.select(position);
    load_selected_macro();
}

void AssignmentLogic::type_macro_name(const std::string& name) {
    if (!open_ || !enabled(AssignmentControl::MacroList)) {
        return;
    }
    if (macros_.empty()) {
        macros_.add(utf8_to_utf16(name));
        load_selected_macro();
    } else if (macros_.selected() >= 0) {
        macros_.rename_selected(utf8_to_utf16(name));
    } else {
        return; // the typed text belongs to no macro
    }
    changed_ = true;
}

void AssignmentLogic::load_selected_macro() {
    actions_.clear();
    if (const MacroRecord* macro = macros_.selected_macro()) {
        cycles_text_ = std::to_string(macro->cycles);
        actions_.load(macro->actions);
    }
}

void AssignmentLogic::save_selected_macro() {
    if (MacroRecord* macro = macros_.selected_macro()) {
        macro->cycles = static_cast<std::uint8_t>(parse_cycles_text(cycles_text_));
        macro->actions = actions_.rows();
    }
}

std::vector<ActionRowText> AssignmentLogic::action_rows() const {
    std::vector<ActionRowText> rows;
    for (int row = 0; row < actions_.size(); ++row) {
        rows.push_back(actions_.row_text(row, texts_));
    }
    return rows;
}

void AssignmentLogic::delete_action() {
    if (enabled(AssignmentControl::DeleteAction) && actions_.delete_selected()) {
        changed_ = true;
    }
}

void AssignmentLogic::clear_actions() {
    if (!enabled(AssignmentControl::ClearActions) || actions_.empty() ||
        !prompts_.ask_yes_no(texts_.text(TextKey::MacroActionClearConfirm))) {
        return;
    }
    actions_.clear();
    changed_ = true;
}

void AssignmentLogic::move_action(RowMove move) {
    if (enabled(AssignmentControl::MoveTop) && actions_.move_selected(move)) {
        changed_ = true;
    }
}

std::vector<std::string> AssignmentLogic::key_choice_names() const {
    std::vector<std::string> names;
    for (int position = 0; position < static_cast<int>(kKeyChoiceCount); ++position) {
        names.push_back(key_name_at_choice(position, texts_));
    }
    return names;
}

int AssignmentLogic::key_choice_of_row(int row) const {
    if (row < 0 || row >= actions_.size()) {
        return -1;
    }
    const std::uint16_t position =
        choice_position_of(actions_.rows()[static_cast<std::size_t>(row)].key);
    return position < kKeyChoiceCount ? position : -1;
}

void AssignmentLogic::edit_key(int row, int choice_position) {
    if (actions_.set_key_at_choice(row, choice_position)) {
        changed_ = true;
    }
}

void AssignmentLogic::edit_direction(int row, std::uint16_t direction) {
    if (actions_.set_direction(row, direction)) {
        changed_ = true;
    }
}

void AssignmentLogic::begin_delay_edit() {
    stop_recording();
}

std::string AssignmentLogic::commit_delay(int row, const std::string& text) {
    if (row < 0 || row >= actions_.size()) {
        return {};
    }
    const DelayEntry entry = parse_delay_text(text);
    if (entry.capped) {
        prompts_.show_message(format_text(texts_.text(TextKey::MacroActionErrDelayMax),
                                          static_cast<long long>(MacroAction::kMaxDelay)));
    }
    if (actions_.set_delay(row, entry.delay)) {
        changed_ = true;
    }
    return std::to_string(entry.delay);
}

std::string AssignmentLogic::set_cycles_text(const std::string& text) {
    cycles_text_ = normalised_cycles_text(text);
    changed_ = true;
    return cycles_text_;
}

void AssignmentLogic::toggle_recording() {
    if (!open_ || !enabled(AssignmentControl::Record)) {
        return;
    }
    if (!recorder_.recording() && macros_.selected() < 0) {
        // A recording needs a macro to go into: a new one, or the message why there can be none.
        add_macro();
        if (macros_.selected() < 0) {
            return;
        }
    }
    recorder_.toggle();
}

void AssignmentLogic::stop_recording() {
    recorder_.stop();
}

void AssignmentLogic::keyboard_lost() {
    if (!recorder_.recording()) {
        return;
    }
    changed_ = recorder_.release_held(actions_) || changed_;
    stop_recording();
}

void AssignmentLogic::toggle_record_delay() {
    const int option = recorder_.record_delay() == 1 ? 0 : 1;
    write_record_delay(settings_, texts_, option);
    recorder_.set_record_delay(option);
}

KeyAssignment AssignmentLogic::new_assignment(const KeyAssignment& old) const {
    const int target = request_.key_number;
    KeyAssignment assignment = old;
    assignment.type = static_cast<std::uint16_t>(page_type_);
    assignment.aux_code = is_g_target(target) ? g_button_code(target - kGSlotBase) : 0;
    assignment.param = 0;
    switch (page_type_) {
    case AssignmentType::Key:
        assignment.param = captured_key_;
        if (captured_key_ == 0 || key_index_of(captured_key_) == target) {
            assignment.type = static_cast<std::uint16_t>(AssignmentType::Default);
        }
        break;
    case AssignmentType::Macro:
        if (macros_.empty()) {
            assignment.type = static_cast<std::uint16_t>(AssignmentType::Default);
            break;
        }
        assignment.param = configuration_.macro_id_at(macros_.selected());
        assignment.aux_code = static_cast<std::uint16_t>(parse_cycles_text(cycles_text_));
        break;
    case AssignmentType::Media:
        assignment.param = static_cast<std::uint32_t>(media_index_);
        break;
    case AssignmentType::Function:
        assignment.param = static_cast<std::uint32_t>(function_index_);
        break;
    default:
        break;
    }
    return assignment;
}

AssignmentApplyResult AssignmentLogic::apply(int current_profile) {
    if (!open_) {
        return {};
    }
    stop_recording();
    if (!is_profile(current_profile)) {
        prompts_.show_message(texts_.text(TextKey::ApplyPrompt));
        return {};
    }
    save_selected_macro();
    if (configuration_.commit_macro_store(macros_.macros())) {
        macros_.mark_committed();
    }
    AssignmentApplyResult result{.applied = true, .refresh_captions = true, .mark_changed = true};
    const int target = request_.key_number;
    if (target < kTargetCount && dialog_type(page_type_)) {
        const int flat = flat_entry(current_profile, target);
        const KeyAssignment assignment = new_assignment(configuration_.entry(flat));
        configuration_.assign(flat, assignment);
        result.assigned_look = !assignment.is(AssignmentType::Default);
    }
    changed_ = false;
    return result;
}

AssignmentApplyResult AssignmentLogic::ok(int current_profile) {
    const AssignmentApplyResult result = apply(current_profile);
    close();
    return result;
}

void AssignmentLogic::cancel() {
    close();
}

void AssignmentLogic::close() {
    recorder_.reset();
    macros_.clear();
    actions_.clear();
    open_ = false;
    changed_ = false;
    macro_page_seen_ = false;
    page_type_ = AssignmentType::Default;
    param_ = 0;
    captured_key_ = 0;
    media_index_ = 0;
    function_index_ = 0;
    cycles_text_.assign(1, '1');
}

} // namespace tarvenor
