// Profile files whose body is damaged: an entry of a type the model does not define.
#include "model/damaged_file.h"
#include "model/profile_file.h"
#include "model_builders.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

using testing::assignment;
using testing::macro;

class SilentSink : public MessageSink {
public:
    void show(Message message, const std::string&) override { shown.push_back(message); }
    std::vector<Message> shown;
};

class DamagedFileTest : public testing::TempDirTest {
protected:
    // A file the program writes, with one entry's type replaced afterwards: the header, and so
    // its checksum, stays as written.
    std::filesystem::path file_with_type(int flat, std::uint16_t type) {
        Configuration config;
        config.make_default_image();
        Bytes bytes = serialise_profile_file(config);
        ConfigurationImage image(bytes);
        KeyAssignment entry = image.entry(flat);
        entry.type = type;
        image.set_entry(flat, entry);
        std::copy(image.bytes().begin(), image.bytes().end(), bytes.begin());
        return write("f.tvp", std::string(bytes.begin(), bytes.end()));
    }

    ProfileFileCheck validate(const std::filesystem::path& path) {
        found = {};
        return validate_profile_file(path, sink, texts, &found);
    }

    SilentSink sink;
    TextTable texts;
    DamagedEntry found;
};

TEST_F(DamagedFileTest, EveryTypeOutsideTheModelMakesTheFileDamagedWhereverItIs) {
    const int last = kFlatEntryCount - 1;
    const std::vector<std::pair<int, std::uint16_t>> cases{
        {flat_entry(0, 0x1E), 9},     // the first number past the last type
        {flat_entry(0, 0x1E), 10},    // -
        {flat_entry(1, 0x1E), 58171}, // as met in a damaged import
        {flat_entry(2, 264), 0xFF},   // a G key
        {flat_entry(0, 0), 0x100},    // the very first entry
        {last, 0xFFFF},               // the last entry of the spare table
        {flat_entry(1, 400), 0x8000}, // an unused slot
    };
    for (const auto& [flat, type] : cases) {
        const auto path = file_with_type(flat, type);
        EXPECT_EQ(validate(path), ProfileFileCheck::Damaged) << flat << " " << type;
        EXPECT_EQ(found, (DamagedEntry{flat, type}));
        EXPECT_TRUE(sink.shown.empty()) << "the caller names the key in its own words";
        EXPECT_EQ(find_damaged_entry_in_file(path), (DamagedEntry{flat, type}));
    }
}

TEST_F(DamagedFileTest, BoundaryTypesAndEveryOtherFieldAreCarried) {
    for (const std::uint16_t type : {std::uint16_t{0}, std::uint16_t{8}}) {
        EXPECT_EQ(validate(file_with_type(flat_entry(0, 0x1E), type)), ProfileFileCheck::Valid)
            << type;
    }
    // Only the type decides: the other fields of an entry may hold anything.
    Configuration config;
    config.make_default_image();
    const KeyAssignment odd{static_cast<std::uint16_t>(AssignmentType::Media), 0xFFFF, 0xFFFFFFFF,
                            0xFFFFFFFF, 0xFFFFFFFF};
    config.assign(flat_entry(2, 0x2C), odd);
    const auto path = dir_ / "odd.tvp";
    ASSERT_TRUE(save_profile_file(path, config));
    EXPECT_EQ(validate(path), ProfileFileCheck::Valid);
    Configuration loaded;
    ASSERT_TRUE(load_profile_file(path, loaded));
    EXPECT_EQ(loaded.entry(flat_entry(2, 0x2C)), odd);
}

TEST_F(DamagedFileTest, TheFirstDamagedEntryInFlatOrderIsNamed) {
    ConfigurationImage image = make_default_image();
    EXPECT_FALSE(find_damaged_entry(image));
    image.set_entry(flat_entry(2, 5), assignment(static_cast<AssignmentType>(20)));
    image.set_entry(flat_entry(1, 300), assignment(static_cast<AssignmentType>(30)));
    EXPECT_EQ(find_damaged_entry(image), (DamagedEntry{flat_entry(1, 300), 30}));
}

// Files the program writes always pass: one entry of every type, with its text or macro.
TEST_F(DamagedFileTest, AWrittenFileOfEveryTypeValidatesAndReadsBackTheSame) {
    Configuration config;
    config.make_default_image();
    for (std::uint16_t type = 0; type < kAssignmentTypeCount; ++type) {
        const int flat = flat_entry(type % kKeyTableCount, 0x10 + type);
        config.assign(flat, assignment(static_cast<AssignmentType>(type), type == 4 ? 1 : 0));
        if (has_assignment_text(type)) {
            config.texts().set(flat, u"text of " + std::u16string(1, u'0' + type));
        }
    }
    config.macros() = {macro(1, u"one", 3)};
    const auto path = dir_ / "all.tvp";
    ASSERT_TRUE(save_profile_file(path, config));
    EXPECT_EQ(validate(path), ProfileFileCheck::Valid);

    Configuration loaded;
    ASSERT_TRUE(load_profile_file(path, loaded));
    for (std::uint16_t type = 0; type < kAssignmentTypeCount; ++type) {
        const int flat = flat_entry(type % kKeyTableCount, 0x10 + type);
        EXPECT_EQ(loaded.entry(flat).type, type);
        EXPECT_EQ(loaded.texts().has(flat), has_assignment_text(type)) << type;
    }
    const auto again = dir_ / "again.tvp";
    ASSERT_TRUE(save_profile_file(again, loaded));
    EXPECT_EQ(slurp(again), slurp(path));
}

TEST_F(DamagedFileTest, TheMessageNamesTheFileTheKeyAndTheProfile) {
    const LanguageFile no_file;
    EXPECT_EQ(damaged_file_text({flat_entry(1, 0x1E), 58171}, "/x/f.tvp", no_file, texts),
              "The profile file /x/f.tvp is damaged: the key A of profile 2 holds a function of "
              "type 58171, which the program does not know.");
    EXPECT_EQ(damaged_file_text({flat_entry(0, 258), 9}, "f.tvp", no_file, texts),
              "The profile file f.tvp is damaged: the key G3 of profile 1 holds a function of "
              "type 9, which the program does not know.");
    EXPECT_EQ(damaged_file_text({flat_entry(3, 0x1E), 9}, "f.tvp", no_file, texts),
              "The profile file f.tvp is damaged: the key A of its spare key table holds a "
              "function of type 9, which the program does not know.");

    // The language file's words, with their placeholders in any order.
    const auto language_path = write("language.ini", "[LANGUAGE]\nlanguage=1\n[ENGINSH]\n"
                                                     "PROFILE_FILE_DAMAGED=%4 at %2/%3 in %1\n");
    const LanguageFile language = LanguageFile::load(language_path);
    EXPECT_EQ(damaged_file_text({flat_entry(2, 0x1E), 300}, "f.tvp", language, texts),
              "300 at A/3 in f.tvp");
}

TEST_F(DamagedFileTest, ADamagedFileIsMovedAsideUnderAFreeName) {
    const auto mirror = write("$Profile0", "first");
    const SetAside first = set_aside_damaged_file(mirror);
    ASSERT_FALSE(first.kept.empty()) << first.error.message();
    EXPECT_EQ(first.kept, dir_ / "$Profile0.damaged");
    EXPECT_FALSE(std::filesystem::exists(mirror));
    EXPECT_EQ(slurp(first.kept), "first");

    write("$Profile0", "second");
    const SetAside second = set_aside_damaged_file(mirror);
    EXPECT_EQ(second.kept, dir_ / "$Profile0.damaged-2");
    EXPECT_EQ(slurp(first.kept), "first") << "an earlier copy is never replaced";
    EXPECT_EQ(slurp(second.kept), "second");

    const SetAside missing = set_aside_damaged_file(dir_ / "absent");
    EXPECT_TRUE(missing.kept.empty());
    EXPECT_TRUE(missing.error);
}

TEST_F(DamagedFileTest, TooShortOrMissingFilesHaveNoDamagedEntry) {
    EXPECT_FALSE(find_damaged_entry_in_file(dir_ / "absent"));
    EXPECT_FALSE(find_damaged_entry_in_file(write("short", std::string(100, '\xFF'))));
}

} // namespace
} // namespace tarvenor
