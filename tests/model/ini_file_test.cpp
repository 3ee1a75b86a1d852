#include "model/ini_file.h"
#include "model/text_encoding.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tarvenor {
namespace {

std::string utf16le_file(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

using TempDir = testing::TempDirTest;

TEST(IniFileRead, NamesMatchWithoutCaseAndValuesLoseBlanksAndQuotes) {
    const IniFile ini = IniFile::parse("; comment\n[Screen]\n  MAIN =  back.jpg  \n"
                                       "quoted=\" padded \"\nsingle='x'\nodd=\"half\n");
    EXPECT_EQ(ini.get("SCREEN", "main"), "back.jpg");
    EXPECT_EQ(ini.get("screen", "Quoted"), " padded ");
    EXPECT_EQ(ini.get("screen", "single"), "x");
    EXPECT_EQ(ini.get("screen", "odd"), "\"half");
    EXPECT_EQ(ini.get("screen", "absent", "1,1,1,1,x"), "1,1,1,1,x");
    EXPECT_FALSE(ini.find("other", "main"));
    EXPECT_FALSE(ini.find("screen", "; comment"));
}

TEST(IniFileRead, KeyOfAnotherSectionIsNotFoundAndFirstOccurrenceWins) {
    const IniFile ini = IniFile::parse("[A]\nk=1\nk=2\n[B]\nj=3\n[a]\nk=4\n");
    EXPECT_EQ(ini.get("a", "k"), "1");
    EXPECT_FALSE(ini.find("a", "j"));
    EXPECT_EQ(ini.get("b", "j"), "3");
}

TEST(IniFileRead, EmptyValueIsPresentNotDefault) {
    const IniFile ini = IniFile::parse("[S]\nkey=\n");
    ASSERT_TRUE(ini.find("S", "key"));
    EXPECT_EQ(ini.get("S", "key", "fallback"), "");
}

TEST(IniFileRead, ValuesAreCutTo259Utf16UnitsWithoutSplittingCharacters) {
    const std::string long_ascii(300, 'a');
    // 258 ASCII units followed by a character outside the BMP (two units): it would end at 260.
    const std::string straddling = std::string(258, 'b') + "\xF0\x9F\x98\x80" + "tail";
    const IniFile ini =
        IniFile::parse("[S]\nlong=" + long_ascii + "\nstraddle=" + straddling + "\n");
    EXPECT_EQ(ini.get("S", "long"), std::string(259, 'a'));
    EXPECT_EQ(ini.get("S", "straddle"), std::string(258, 'b'));
}

TEST(IniFileRead, IntegersReadLeadingDigitsOnly) {
    const IniFile ini =
        IniFile::parse("[LANGUAGE]\na=1\nb=1abc\nc=abc\nd= 2 \ne=-7x\nf=99999999999\n");
    EXPECT_EQ(ini.get_int("language", "a", 5), 1);
    EXPECT_EQ(ini.get_int("language", "b", 5), 1);
    EXPECT_EQ(ini.get_int("language", "c", 5), 0);
    EXPECT_EQ(ini.get_int("language", "d", 5), 2);
    EXPECT_EQ(ini.get_int("language", "e", 5), -7);
    EXPECT_EQ(ini.get_int("language", "f", 5), 0x7FFFFFFF);
    EXPECT_EQ(ini.get_int("language", "missing", 5), 5);
}

TEST(IniFileRead, Utf8BomAndUtf16LeBomAreDecoded) {
    const IniFile utf8 =
        IniFile::parse("\xEF\xBB\xBF[CHINESE]\nMENU_11=\xE6\x89\x93\xE5\xBC\x80\n");
    EXPECT_EQ(utf8.get("chinese", "menu_11"), "\xE6\x89\x93\xE5\xBC\x80");
    const IniFile utf16 = IniFile::parse(utf16le_file(u"[CHINESE]\r\nMENU_11=\u6253\u5F00\r\n"));
    EXPECT_EQ(utf16.get("chinese", "menu_11"), "\xE6\x89\x93\xE5\xBC\x80");
}

TEST(IniFileWrite, SetReplacesInPlaceAndKeepsEverythingElse) {
    IniFile ini = IniFile::parse("; keep me\r\n[KEYCOLOR]\r\nDengCheck=0\r\nOther=x\r\n");
    ini.set("keycolor", "dengcheck", "1");
    EXPECT_EQ(ini.serialise(), "; keep me\r\n[KEYCOLOR]\r\ndengcheck=1\r\nOther=x\r\n");
}

TEST(IniFileWrite, SetAddsToTheEndOfItsSectionOrAppendsANewSection) {
    IniFile ini = IniFile::parse("[A]\nk=1\n\n[B]\nj=2\n");
    ini.set("a", "new", "v");
    ini.set("C", "x", "y");
    EXPECT_EQ(ini.serialise(), "[A]\nk=1\nnew=v\n\n[B]\nj=2\n[C]\nx=y\n");
    EXPECT_EQ(ini.get("a", "NEW"), "v");
    EXPECT_EQ(ini.get("c", "x"), "y");
}

TEST(IniFileWrite, EmptyDocumentGainsSectionAndKey) {
    IniFile ini;
    ini.set("PROFILES", "Flip", "1");
    EXPECT_EQ(ini.serialise(), "[PROFILES]\nFlip=1\n");
}

TEST_F(TempDir, Utf16FileIsRewrittenAsUtf16) {
    const auto path = dir_ / "language.ini";
    std::ofstream(path, std::ios::binary) << utf16le_file(u"[LANGUAGE]\r\nlanguage=0\r\n");
    IniFile ini = IniFile::read(path).value();
    ini.set("LANGUAGE", "language", "1");
    ASSERT_TRUE(ini.write(path));
    EXPECT_EQ(slurp(path), utf16le_file(u"[LANGUAGE]\r\nlanguage=1\r\n"));
}

TEST_F(TempDir, WriteIntoMissingFolderFailsAndMissingFileReadsEmpty) {
    EXPECT_FALSE(IniFile().write(dir_ / "no" / "such" / "file.ini"));
    EXPECT_FALSE(IniFile::read(dir_ / "absent.ini"));
    EXPECT_EQ(IniFile::read_or_empty(dir_ / "absent.ini").get("a", "b", "d"), "d");
    // A folder where the file belongs reads as absent (it used to throw) and is not written.
    std::filesystem::create_directories(dir_ / "folder.ini");
    EXPECT_FALSE(IniFile::read(dir_ / "folder.ini"));
    EXPECT_EQ(IniFile::read_or_empty(dir_ / "folder.ini").get("a", "b", "d"), "d");
    EXPECT_FALSE(IniFile().write(dir_ / "folder.ini"));
}

TEST(TextEncoding, RoundTripsAndReplacesInvalidSequences) {
    const std::string text = "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
    EXPECT_EQ(utf16_to_utf8(utf8_to_utf16(text)), text);
    EXPECT_EQ(utf8_to_utf16(text).size(), 5u);
    EXPECT_EQ(utf8_to_utf16("\xC3"), std::u16string(1, u'\xFFFD'));     // truncated sequence
    EXPECT_EQ(utf8_to_utf16("\xC0\x80"), std::u16string(1, u'\xFFFD')); // overlong NUL
    EXPECT_EQ(utf16_to_utf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD"); // lone half
}

} // namespace
} // namespace tarvenor
