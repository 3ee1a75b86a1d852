#include "model/text_table.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <set>

namespace tarvenor {
namespace {

using testing::TempDirTest;

class LanguageFileTest : public TempDirTest {
protected:
    LanguageFile load(std::string_view language_line) {
        const std::string content = "[LANGUAGE]\n" + std::string(language_line) +
                                    "\n[ENGINSH]\nMAIN_CAPTION=Keyboard Settings\n"
                                    "MENU_1=Import\n"
                                    "[CHINESE]\nMAIN_CAPTION=键盘设置\nMENU_1=导入\n"
                                    "MAIN_HELP_PROMPT=帮助\n";
        return LanguageFile::load(write("language.ini", content));
    }
};

TEST_F(LanguageFileTest, IndexOneSelectsEnglishEverythingElseChinese) {
    struct Case {
        std::string_view line;
        bool english;
    };
    for (const Case& c :
         {Case{"language=1", true}, Case{"language=1abc", true}, Case{"LANGUAGE = 1", true},
          Case{"language=0", false}, Case{"language=2", false}, Case{"language=x1", false},
          Case{"language=11", false}, Case{"language=-1", false}, Case{"language=99", false},
          Case{"language=", false}, Case{"", false}}) {
        const LanguageFile language = load(c.line);
        EXPECT_EQ(language.is_english(), c.english) << c.line;
        EXPECT_EQ(language.section(), c.english ? "ENGINSH" : "CHINESE") << c.line;
        EXPECT_EQ(language.text("main_caption"), c.english ? "Keyboard Settings" : "键盘设置");
    }
}

TEST_F(LanguageFileTest, KeyMissingFromEnglishGivesEmptyTextNotTheBuiltIn) {
    const TextTable english(load("language=1"));
    EXPECT_EQ(english.text(TextKey::MainCaption), "Keyboard Settings");
    EXPECT_EQ(english.text(TextKey::MainHelpPrompt), "");
    EXPECT_EQ(english.text(TextKey::UnknownKey), "");

    const TextTable chinese(load("language=0"));
    EXPECT_EQ(chinese.text(TextKey::MainHelpPrompt), "帮助");
}

TEST_F(LanguageFileTest, MissingFileSelectsChineseAndEmptiesEverySlot) {
    const LanguageFile language = LanguageFile::load(dir_ / "absent.ini");
    EXPECT_FALSE(language.is_english());
    const TextTable table(language);
    for (std::size_t i = 0; i < kTextKeyCount; ++i) {
        EXPECT_TRUE(table.text(static_cast<TextKey>(i)).empty()) << i;
    }
}

TEST(TextTable, DefaultTableHoldsBuiltInTextsUnderDistinctKeys) {
    const TextTable table;
    EXPECT_EQ(table.text(TextKey::UnknownKey), "Unknown Key: %03x");
    EXPECT_EQ(table.text(TextKey::Media18), "Hello world");
    EXPECT_EQ(table.text(function_text_key(10)), "Zoom+");
    EXPECT_EQ(text_key_name(media_text_key(4)), "MEDIA_Next_TRACK_5");
    EXPECT_EQ(text_key_name(TextKey::ProfileSelectPrompt2), "PROFILE_SEELCT_PROMPT2");
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < kTextKeyCount; ++i) {
        names.insert(text_key_name(static_cast<TextKey>(i)));
    }
    EXPECT_EQ(names.size(), kTextKeyCount);
}

TEST(FormatText, FillsFirstPlaceholderWithWidthAndPadding) {
    EXPECT_EQ(format_text("Unknown Key: %03x", 0x5A), "Unknown Key: 05a");
    EXPECT_EQ(format_text("Unknown Key: %03x", 0x1FF), "Unknown Key: 1ff");
    EXPECT_EQ(format_text("max: %d   ", 100), "max: 100   ");
    EXPECT_EQ(format_text("%s%d", 3), "3%d");
    EXPECT_EQ(format_text("wrong: \n  %s", "/tmp/a.tvp"), "wrong: \n  /tmp/a.tvp");
    EXPECT_EQ(format_text("100%% of %d", 7), "100% of 7");
    EXPECT_EQ(format_text("no placeholder", 7), "no placeholder");
}

TEST(FormatText, HostileTranslatorPatternsStaySafe) {
    // A translated text is user-editable data: it must never reach printf as a format.
    EXPECT_EQ(format_text("%n%s%p", "x"), "%nx%p");
    EXPECT_EQ(format_text("%s", 42), "42");
    EXPECT_EQ(format_text("%d", "text"), "text");
    EXPECT_EQ(format_text("trailing %", 1), "trailing %");
    EXPECT_EQ(format_text("%99999999999d", 1).size(), 256u);
}

} // namespace
} // namespace tarvenor
