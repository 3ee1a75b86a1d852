#include "model/text_table.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace tarvenor {
namespace {

struct TextEntry {
    std::string_view key;
    std::string_view builtin;
};

// In TextKey order.
constexpr std::array<TextEntry, kTextKeyCount> kTexts{{
    {"MACRO_ACTION_RECORD_DELAY", "RecordDelay"},
    {"MACRO_NEW_PREFIX", "Macro"},
    {"MACRO_ERR_MAX", "The maximum number of macro: %d   "},
    {"MACRO_ACTION_CLEAR_CONFIRM", "Really need to clear the macro action? "},
    {"MACRO_ACTION_ERR_MODIFY", "You can not edit, use the macro record button. "},
    {"MACRO_ACTION_ERR_DELAY_MAX", "Maximum delay time is: %d(ms) "},
    {"MACRO_ACTION_RECORD", "Record"},
    {"MACRO_ACTION_STOP_RECORD", "Stop Record"},
    {"MACRO_DELETE_CONFIRM_OF_KEYS",
     "Detect some key points to set this macro, \n  really need to remove this macro?  "},
    {"EXTRA_MACRO_TOO_LONG",
     "Macro space exceeds the hardware space.\r\n Please reduce the number of macros or macro "
     "action number\xEF\xBC\x8C"
     "and then download."},
    {"EXTRA_PROFILE_SPACE_TIGHT",
     "shortage of hardware space, cancelled the macro name of storage."},
    {"UNKNOWN_KEY", "Unknown Key: %03x"},
    {"KEY_PROMPT_SET", "Keys, Set: "},
    {"KEY_PROMPT_SINGLE", "Key("},
    {"KEY_PROMPT_MACRO", "Macro("},
    {"KEY_PROMPT_MEDIA", "Media("},
    {"KEY_PROMPT_FUNCTION", "Function("},
    {"MEDIA_PALYER_1", "Hello world"},
    {"MEDIA_PALY_PAUSE_2", "Hello world"},
    {"MEDIA_STOP_PALY_3", "Hello world"},
    {"MEDIA_PREV_TRACK_4", "Hello world"},
    {"MEDIA_Next_TRACK_5", "Hello world"},
    {"MEDIA_V_LOW_6", "Hello world"},
    {"MEDIA_V_ADD_7", "Hello world"},
    {"MEDIA_MUTE_8", "Hello world"},
    {"MEDIA_WWW_HOME_9", "Hello world"},
    {"MEDIA_WWW_REFRESH_10", "Hello world"},
    {"MEDIA_WWW_STOP_11", "Hello world"},
    {"MEDIA_WWW_BACK_12", "Hello world"},
    {"MEDIA_WWW_FORWARD_13", "Hello world"},
    {"MEDIA_WWW_FAVORITE_14", "Hello world"},
    {"MEDIA_WWW_SEARCH_15", "Hello world"},
    {"MEDIA_MY_PC_16", "Hello world"},
    {"MEDIA_CALC_17", "Hello world"},
    {"MEDIA_MAIL_18", "Hello world"},
    {"FUNC_KEY_DESC1", "Open"},
    {"FUNC_KEY_DESC2", "New"},
    {"FUNC_KEY_DESC3", "Undo"},
    {"FUNC_KEY_DESC4", "Save"},
    {"FUNC_KEY_DESC5", "Copy"},
    {"FUNC_KEY_DESC6", "Cut"},
    {"FUNC_KEY_DESC7", "Paste"},
    {"FUNC_KEY_DESC8", "Find"},
    {"FUNC_KEY_DESC9", "Select All"},
    {"FUNC_KEY_DESC10", "Zoom-"},
    {"FUNC_KEY_DESC11", "Zoom+"},
    {"DEFAULT_PROFILE_NAME", "<Default Profile>"},
    {"PROFILE_SELECT_PROMPT", "Whether to save the profile settings made?"},
    {"PROFILE_SEELCT_PROMPT2",
     "When fast switch scene mode, you must first close the editor dialog box."},
    {"PROFILE_FORMAT_ERROR", "wrong file format, revert to the default values: \n  %s"},
    {"PROFILE_NEW", "\\The new contextual  mode"},
    {"PROFILE_TIP", "The current contextual  mode: "},
    {"KEYBOARD_TRAY_DESC", "Single-handed keyboard Driver "},
    {"KEYBOARD_TRAY_NO_ACCESS",
     "Keyboard found but not accessible: install the udev rule 70-tarvenor.rules"},
    {"MAIN_CAPTION", "Gaming Keyboard Settings"},
    {"MAIN_HELP_PROMPT", "Help"},
    {"MAIN_MINIMIZE_PROMPT", "Minimize"},
    {"MAIN_MENU_PROMPT", "Menu"},
    {"MAIN_CLOSE_PROMPT", "Close"},
    {"MAIN_BUTTON_KESTRO_VER", ""},
    {"MAIN_PROMPT_DEFAULT", "Do you want to restore the default settings?"},
    {"MAIN_PROMPT_INPORT", "File format error, import failed! "},
    {"MAIN_DEFAULT_MATRIX_PROMPT", "Reads the default keyboard layout failure"},
    {"MAIN_NO_DEVICE_PROMPT", "Device is not detected\xEF\xBC\x8C"
                              "the key settings can not be displayed! "},
    {"MAIN_NO_ACCESS_PROMPT",
     "A keyboard is plugged in, but this user may not open %s. Install the udev rule "
     "70-tarvenor.rules, run \"sudo udevadm control --reload && sudo udevadm trigger\", then "
     "plug the keyboard in again."},
    {"APPLY_PROMPT", "No Use!"},
}};

const TextEntry& entry(TextKey key) {
    return kTexts[static_cast<std::size_t>(key)];
}

// A printf-style conversion found in a language text: where it starts and ends, its flags and
// width, and its conversion letter.
struct Placeholder {
    std::size_t begin = std::string_view::npos;
    std::size_t end = 0;
    bool zero_pad = false;
    bool left_align = false;
    int width = 0;
    char conversion = 0;
};

// Widths beyond any sensible text are capped rather than trusted.
constexpr int kMaxWidth = 256;

bool is_conversion(char c) {
    return c == 'd' || c == 'i' || c == 'u' || c == 'x' || c == 'X' || c == 's';
}

// The first conversion of the pattern; "%%" is skipped (and later unescaped).
Placeholder find_placeholder(std::string_view pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            continue;
        }
        Placeholder p;
        std::size_t j = i + 1;
        if (j < pattern.size() && pattern[j] == '%') {
            i = j;
            continue;
        }
        while (j < pattern.size() && (pattern[j] == '0' || pattern[j] == '-')) {
            (pattern[j] == '0' ? p.zero_pad : p.left_align) = true;
            ++j;
        }
        while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9') {
            p.width = std::min(p.width * 10 + (pattern[j] - '0'), kMaxWidth);
            ++j;
        }
        if (j < pattern.size() && is_conversion(pattern[j])) {
            p.begin = i;
            p.end = j + 1;
            p.conversion = pattern[j];
            return p;
        }
    }
    return {};
}

std::string unescape_percent(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
        }
    }
    return out;
}

std::string pad(std::string value, const Placeholder& p) {
    if (static_cast<int>(value.size()) >= p.width) {
        return value;
    }
    const std::size_t missing = static_cast<std::size_t>(p.width) - value.size();
    if (p.left_align) {
        return value + std::string(missing, ' ');
    }
    if (p.zero_pad && p.conversion != 's') {
        const std::size_t sign = (!value.empty() && value[0] == '-') ? 1 : 0;
        return value.insert(sign, missing, '0');
    }
    return std::string(missing, ' ') + value;
}

std::string number_text(long long number, char conversion) {
    char buffer[32];
    if (conversion == 'x' || conversion == 'X') {
        std::snprintf(buffer, sizeof buffer, conversion == 'x' ? "%llx" : "%llX",
                      static_cast<unsigned long long>(number));
    } else {
        std::snprintf(buffer, sizeof buffer, "%lld", number);
    }
    return buffer;
}

std::string substitute(std::string_view pattern, const Placeholder& p, const std::string& value) {
    if (p.begin == std::string_view::npos) {
        return unescape_percent(pattern);
    }
    return unescape_percent(pattern.substr(0, p.begin)) + pad(value, p) +
           unescape_percent(pattern.substr(p.end));
}

} // namespace

std::string_view text_key_name(TextKey key) {
    return entry(key).key;
}
std::string_view builtin_text(TextKey key) {
    return entry(key).builtin;
}

LanguageFile::LanguageFile(IniFile ini)
    : ini_(std::move(ini)), english_(ini_.get_int("LANGUAGE", "language", 0) == 1) {}

LanguageFile LanguageFile::load(const std::filesystem::path& path) {
    return LanguageFile(IniFile::read_or_empty(path));
}

std::string_view LanguageFile::section() const {
    return is_english() ? kEnglishSection : kChineseSection;
}

std::string LanguageFile::text(std::string_view key) const {
    return ini_.get(section(), key);
}

std::string LanguageFile::text_or(std::string_view key, std::string_view built_in) const {
    std::string found = text(key);
    return found.empty() ? std::string(built_in) : found;
}

TextTable::TextTable() {
    for (std::size_t i = 0; i < kTextKeyCount; ++i) {
        texts_[i] = std::string(kTexts[i].builtin);
    }
}

TextTable::TextTable(const LanguageFile& language) {
    for (std::size_t i = 0; i < kTextKeyCount; ++i) {
        texts_[i] = language.text(kTexts[i].key);
    }
}

std::string format_text(std::string_view pattern, long long number) {
    const Placeholder p = find_placeholder(pattern);
    const std::string value =
        p.conversion == 's' ? std::to_string(number) : number_text(number, p.conversion);
    return substitute(pattern, p, value);
}

std::string format_text(std::string_view pattern, std::string_view argument) {
    const Placeholder p = find_placeholder(pattern);
    return substitute(pattern, p, std::string(argument));
}

} // namespace tarvenor
