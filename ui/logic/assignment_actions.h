#pragma once

#include "model/macro_record.h"
#include "model/text_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvenor {

// How a row enters the action list.
struct RowPlacement {
    // Right after the selected row (at the end when none is selected) instead of at the end.
    bool after_selection = false;
    // The row keeps its own delay; otherwise its delay goes to the row before it (recording).
    bool keep_delay = true;
    // The row becomes the selected one (recording: the next row follows it).
    bool select = false;
};

enum class RowMove { Top, Up, Down, Bottom };

// What one row of the action list shows: key name, direction and delay in decimal.
struct ActionRowText {
    std::string key;
    std::string direction;
    std::string delay;
};

// The action list of the macro page: the selected macro's actions, one row each, and the
// selected row. At most MacroRecord::kMaxActions rows.
class ActionList {
public:
    static constexpr const char* kDownText = "\u2193";
    static constexpr const char* kUpText = "\u2191";

    const std::vector<MacroAction>& rows() const { return rows_; }
    int size() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }
    // -1 when no row is selected.
    int selected() const { return selected_; }
    void select(int row);

    void load(const std::vector<MacroAction>& actions);
    void clear();
    // AddActionRow: false when the list is full and nothing was added.
    bool add_action_row(MacroAction action, const RowPlacement& placement);
    // Removes the selected row; false when none is selected.
    bool delete_selected();
    // Moves the selected row and keeps it selected; false when none is selected.
    bool move_selected(RowMove move);

    // In-place edits; each answers whether the row changed.
    bool set_key_at_choice(int row, int choice_position);
    bool set_direction(int row, std::uint16_t direction);
    bool set_delay(int row, std::uint32_t delay);

    ActionRowText row_text(int row, const TextTable& texts) const;

private:
    bool valid(int row) const { return row >= 0 && row < size(); }

    std::vector<MacroAction> rows_;
    int selected_ = -1;
};

// The text of a direction cell.
const char* direction_text(std::uint16_t direction);

// A delay typed into a delay cell: the number the text starts with, capped at the largest delay
// (`capped` tells the caller to say so) and rounded down to a multiple of 10.
struct DelayEntry {
    std::uint32_t delay = 0;
    bool capped = false;
};
DelayEntry parse_delay_text(const std::string& text);

// The cycles field's text as a number in 1..255; text that holds no number reads as 1.
int parse_cycles_text(const std::string& text);
// What the cycles field shows after a change: "1" below 1 (or no number), "255" above 255,
// else the text as typed.
std::string normalised_cycles_text(const std::string& text);

} // namespace tarvenor
