#include "model/assignment_caption.h"
#include "model/text_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>

namespace tarvenor {
namespace {

const std::filesystem::path kShippedFile =
    std::filesystem::path(TARVENOR_SOURCE_DIR) / "resources/Skins/language.ini";

// The conversions of a text ("%d", "%s", "%03x" -> "dsx"), which the code fills in order.
std::string conversions(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%') {
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && std::string_view("0123456789-").find(text[j]) != text.npos) {
            ++j;
        }
        if (j < text.size()) {
            out.push_back(text[j]);
        }
        i = j;
    }
    return out;
}

std::map<std::string, std::set<std::string>> keys_by_section(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::map<std::string, std::set<std::string>> sections;
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        if (line.starts_with("[")) {
            section = line.substr(1, line.find(']') - 1);
        } else if (const auto eq = line.find('='); eq != std::string::npos) {
            EXPECT_TRUE(sections[section].insert(line.substr(0, eq)).second)
                << "duplicate " << line;
        }
    }
    return sections;
}

TEST(ShippedLanguageFile, BothLanguagesHaveTheSameKeysAndEnglishIsChosen) {
    auto sections = keys_by_section(kShippedFile);
    EXPECT_EQ(sections["ENGINSH"], sections["CHINESE"]);
    EXPECT_GT(sections["ENGINSH"].size(), kTextKeyCount);
    EXPECT_TRUE(LanguageFile::load(kShippedFile).is_english());
}

TEST(ShippedLanguageFile, EveryProgramTextIsTranslatedWithItsPlaceholders) {
    const auto english_ini = IniFile::read(kShippedFile);
    ASSERT_TRUE(english_ini.has_value());
    IniFile chinese_ini = *english_ini;
    chinese_ini.set("LANGUAGE", "language", "0");
    const TextTable english{LanguageFile(*english_ini)};
    const TextTable chinese{LanguageFile(chinese_ini)};
    for (std::size_t i = 0; i < kTextKeyCount; ++i) {
        const auto key = static_cast<TextKey>(i);
        const std::string expected = conversions(builtin_text(key));
        if (key != TextKey::MainButtonVersion) {
            EXPECT_FALSE(english.text(key).empty()) << text_key_name(key);
            EXPECT_FALSE(chinese.text(key).empty()) << text_key_name(key);
        }
        EXPECT_EQ(conversions(english.text(key)), expected) << text_key_name(key);
        EXPECT_EQ(conversions(chinese.text(key)), expected) << text_key_name(key);
    }
    // The record-delay text names a settings key: both languages must share it.
    EXPECT_EQ(english.text(TextKey::MacroActionRecordDelay),
              chinese.text(TextKey::MacroActionRecordDelay));
}

TEST(ShippedLanguageFile, BlanksAroundTextsSurviveTheReader) {
    const TextTable english{LanguageFile::load(kShippedFile)};
    KeyAssignment key_b;
    key_b.type = static_cast<std::uint16_t>(AssignmentType::Key);
    key_b.param = 0x030;
    EXPECT_EQ(assignment_caption(0x1E, key_b, {}, english), "A  set to: Key (B)");
    EXPECT_EQ(english.text(TextKey::ProfileTip), "Current profile: ");
}

} // namespace
} // namespace tarvenor
