#pragma once

#include "model/ini_file.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarvenor {

// Every program-wide text of the user interface. The order of the media and editing-function keys
// is the order of the media and function lists.
enum class TextKey : std::size_t {
    MacroActionRecordDelay,
    MacroNewPrefix,
    MacroErrMax,
    MacroActionClearConfirm,
    MacroActionErrModify,
    MacroActionErrDelayMax,
    MacroActionRecord,
    MacroActionStopRecord,
    MacroDeleteConfirmOfKeys,
    ExtraMacroTooLong,
    ExtraProfileSpaceTight,
    UnknownKey,
    KeyPromptSet,
    KeyPromptSingle,
    KeyPromptMacro,
    KeyPromptMedia,
    KeyPromptFunction,
    Media1,
    Media2,
    Media3,
    Media4,
    Media5,
    Media6,
    Media7,
    Media8,
    Media9,
    Media10,
    Media11,
    Media12,
    Media13,
    Media14,
    Media15,
    Media16,
    Media17,
    Media18,
    Function1,
    Function2,
    Function3,
    Function4,
    Function5,
    Function6,
    Function7,
    Function8,
    Function9,
    Function10,
    Function11,
    DefaultProfileName,
    ProfileSelectPrompt,
    ProfileSelectPrompt2,
    ProfileFormatError,
    ProfileNew,
    ProfileTip,
    KeyboardTrayDesc,
    KeyboardTrayNoAccess,
    MainCaption,
    MainHelpPrompt,
    MainMinimizePrompt,
    MainMenuPrompt,
    MainClosePrompt,
    MainButtonVersion,
    MainPromptDefault,
    MainPromptImport,
    MainDefaultMatrixPrompt,
    MainNoDevicePrompt,
    MainNoAccessPrompt,
    ApplyPrompt,
    Count
};

inline constexpr std::size_t kTextKeyCount = static_cast<std::size_t>(TextKey::Count);
inline constexpr std::size_t kMediaTextCount = 18;
inline constexpr std::size_t kFunctionTextCount = 11;

constexpr TextKey media_text_key(std::size_t index) {
    return static_cast<TextKey>(static_cast<std::size_t>(TextKey::Media1) + index);
}
constexpr TextKey function_text_key(std::size_t index) {
    return static_cast<TextKey>(static_cast<std::size_t>(TextKey::Function1) + index);
}

// The language-file name of a text key, e.g. "MACRO_ERR_MAX".
std::string_view text_key_name(TextKey key);
// The text shown when no language file has been loaded.
std::string_view builtin_text(TextKey key);

// The language file: a LANGUAGE section choosing English (1) or Chinese (anything else) and one
// section of texts per language. Windows read their own captions through it; the program-wide
// texts go into a TextTable.
// A text of the program's own: its language key and the English text it has without one.
struct OwnText {
    std::string_view key;
    std::string_view built_in;
};

class LanguageFile {
public:
    static constexpr std::string_view kEnglishSection = "ENGINSH";
    static constexpr std::string_view kChineseSection = "CHINESE";

    LanguageFile() = default;
    explicit LanguageFile(IniFile ini);
    // A missing or unreadable file behaves as an empty one: Chinese, no texts.
    static LanguageFile load(const std::filesystem::path& path);

    std::string_view section() const;
    // Index 1 of the LANGUAGE section selects English; every other value (absent, not a number,
    // 0, 2, -1, ...) selects Chinese, for the texts and the skin's captions alike.
    bool is_english() const { return english_; }
    // The text of a key in the selected section; empty when the key is absent.
    std::string text(std::string_view key) const;
    // For the program's own texts, which older language files lack: the built-in English text
    // when the key is absent.
    std::string text_or(std::string_view key, std::string_view built_in) const;
    std::string text(const OwnText& own) const { return text_or(own.key, own.built_in); }

private:
    IniFile ini_;
    bool english_ = false;
};

// The program-wide texts (UTF-8), one slot per TextKey. A default-constructed table holds the
// built-in texts; loading replaces every slot, so a key missing from the language file leaves its
// slot empty rather than falling back to the built-in text.
class TextTable {
public:
    TextTable();
    explicit TextTable(const LanguageFile& language);

    const std::string& text(TextKey key) const { return texts_[static_cast<std::size_t>(key)]; }

private:
    std::array<std::string, kTextKeyCount> texts_;
};

// Fills the first %d, %s or %x-style placeholder of a language text, the way the windows format
// their messages ("%03x" keeps its width and zero padding).
std::string format_text(std::string_view pattern, long long number);
std::string format_text(std::string_view pattern, std::string_view argument);

} // namespace tarvenor
