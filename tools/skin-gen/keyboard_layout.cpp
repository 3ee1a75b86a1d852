#include "keyboard_layout.h"

#include <stdexcept>

namespace tarvenor::skin {

namespace {

// One key unit in pixels; columns are counted in quarter units.
constexpr int kUnit = 40;
constexpr int kQuarter = kUnit / 4;
constexpr int kRowGap = 16; // between the function row and the rest
constexpr int kCapGap = 2;  // free pixels around every cap
constexpr int kPlateLeft = 24;
constexpr int kPlateTop = kMainTitleBarHeight + 12;
constexpr int kPlatePadding = 14;
constexpr int kKeysLeft = kPlateLeft + kPlatePadding;
constexpr int kKeysTop = kPlateTop + kPlatePadding;
constexpr int kMainLeft = kKeysLeft + 2 * kUnit + kUnit / 2;
constexpr int kNavLeft = kMainLeft + 15 * kUnit + kUnit / 2;
constexpr int kPadLeft = kNavLeft + 3 * kUnit + kUnit / 2;
constexpr int kPadRight = kPadLeft + 4 * kUnit;

enum Block { Main, Nav, Pad };

struct Slot {
    KeyCode code;
    Block block;
    int row;
    int column; // quarter units from the block's left edge
    int width;  // quarter units
    int rows = 1;
};

int row_top(int row) {
    return kKeysTop + row * kUnit + (row > 0 ? kRowGap : 0);
}

int block_left(Block block) {
    switch (block) {
    case Nav:
        return kNavLeft;
    case Pad:
        return kPadLeft;
    default:
        return kMainLeft;
    }
}

QRect cell(int left, int top, int width, int height) {
    return QRect(left + kCapGap, top + kCapGap, width - 2 * kCapGap, height - 2 * kCapGap);
}

QRect slot_rect(const Slot& slot) {
    return cell(block_left(slot.block) + slot.column * kQuarter, row_top(slot.row),
                slot.width * kQuarter, slot.rows * kUnit);
}

// Keys of one row spaced a unit apart from `column`.
void add_run(std::vector<Slot>& out, std::initializer_list<KeyCode> codes, Block block, int row,
             int column) {
    for (const KeyCode code : codes) {
        out.push_back({code, block, row, column, 4});
        column += 4;
    }
}

std::vector<Slot> layout_slots() {
    std::vector<Slot> s;
    // Function row.
    s.push_back({0x001, Main, 0, 0, 4});
    add_run(s, {0x03B, 0x03C, 0x03D, 0x03E}, Main, 0, 8);
    add_run(s, {0x03F, 0x040, 0x041, 0x042}, Main, 0, 26);
    add_run(s, {0x043, 0x044, 0x057, 0x058}, Main, 0, 44);
    add_run(s, {0x137, 0x046, 0x045}, Nav, 0, 0);
    // Number row.
    add_run(
        s,
        {0x029, 0x002, 0x003, 0x004, 0x005, 0x006, 0x007, 0x008, 0x009, 0x00A, 0x00B, 0x00C, 0x00D},
        Main, 1, 0);
    s.push_back({0x00E, Main, 1, 52, 8});
    add_run(s, {0x152, 0x147, 0x149}, Nav, 1, 0);
    add_run(s, {0x145, 0x135, 0x037, 0x04A}, Pad, 1, 0);
    // Top letter row.
    s.push_back({0x00F, Main, 2, 0, 6});
    add_run(s, {0x010, 0x011, 0x012, 0x013, 0x014, 0x015, 0x016, 0x017, 0x018, 0x019, 0x01A, 0x01B},
            Main, 2, 6);
    s.push_back({0x02B, Main, 2, 54, 6});
    add_run(s, {0x153, 0x14F, 0x151}, Nav, 2, 0);
    add_run(s, {0x047, 0x048, 0x049}, Pad, 2, 0);
    s.push_back({0x04E, Pad, 2, 12, 4, 2});
    // Home row.
    s.push_back({0x03A, Main, 3, 0, 7});
    add_run(s, {0x01E, 0x01F, 0x020, 0x021, 0x022, 0x023, 0x024, 0x025, 0x026, 0x027, 0x028}, Main,
            3, 7);
    s.push_back({0x01C, Main, 3, 51, 9});
    add_run(s, {0x04B, 0x04C, 0x04D}, Pad, 3, 0);
    // Bottom letter row, with the two extra keys beside the shifts.
    s.push_back({0x02A, Main, 4, 0, 5});
    s.push_back({0x056, Main, 4, 5, 4});
    add_run(s, {0x02C, 0x02D, 0x02E, 0x02F, 0x030, 0x031, 0x032, 0x033, 0x034, 0x035}, Main, 4, 9);
    s.push_back({0x073, Main, 4, 49, 4});
    s.push_back({0x036, Main, 4, 53, 7});
    s.push_back({0x148, Nav, 4, 4, 4});
    add_run(s, {0x04F, 0x050, 0x051}, Pad, 4, 0);
    s.push_back({0x11C, Pad, 4, 12, 4, 2});
    // Space row; Fn sits between right Alt and App.
    s.push_back({0x01D, Main, 5, 0, 5});
    s.push_back({0x15B, Main, 5, 5, 5});
    s.push_back({0x038, Main, 5, 10, 5});
    s.push_back({0x039, Main, 5, 15, 25});
    s.push_back({0x138, Main, 5, 40, 4});
    add_run(s, {0x15D, 0x15C, 0x11D}, Main, 5, 48);
    add_run(s, {0x14B, 0x150, 0x14D}, Nav, 5, 0);
    s.push_back({0x052, Pad, 5, 0, 8});
    s.push_back({0x053, Pad, 5, 8, 4});
    return s;
}

} // namespace

const std::vector<KeyPlace>& keyboard_places() {
    static const std::vector<KeyPlace> places = [] {
        std::vector<KeyPlace> result;
        for (const Slot& slot : layout_slots()) {
            result.push_back({slot.code, slot_rect(slot)});
        }
        return result;
    }();
    return places;
}

QRect key_rect(KeyCode code) {
    for (const KeyPlace& place : keyboard_places()) {
        if (place.code == code) {
            return place.rect;
        }
    }
    throw std::logic_error("the keyboard drawing has no place for key " + std::to_string(code));
}

QRect g_key_rect(int j) {
    const int column = j < 5 ? 0 : 1;
    const int row = j < 5 ? j + 1 : j - 4;
    return cell(kKeysLeft + column * kUnit, row_top(row), kUnit, kUnit);
}

QRect fn_key_rect() {
    return slot_rect({0, Main, 5, 44, 4});
}

QRect d_key_rect(int k) {
    const QRect row = key_rect(0x3B).united(key_rect(0x3E)); // F1..F4
    const int gap = key_rect(0x3C).left() - key_rect(0x3B).right() - 1;
    const int width = (row.width() - (kDKeyCount - 1) * gap) / kDKeyCount;
    return QRect(row.left() + k * (width + gap), row.top(), width, row.height());
}

QRect bank_indicator_rect() {
    return cell(kKeysLeft, row_top(0), 2 * kUnit, kUnit);
}

QRect lock_indicator_rect(int i) {
    const int width = (kPadRight - kPadLeft) / 3;
    return cell(kPadLeft + i * width, row_top(0), width, kUnit);
}

QRect keyboard_plate() {
    return QRect(QPoint(kPlateLeft, kPlateTop),
                 QPoint(kPadRight + kPlatePadding - 1, row_top(5) + kUnit + kPlatePadding - 1));
}

} // namespace tarvenor::skin
