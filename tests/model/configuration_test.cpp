#include "model/configuration.h"
#include "model/key_codes.h"
#include "model_builders.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace tarvenor {
namespace {

using testing::assignment;
using testing::macro;

class RecordingObserver : public ConfigurationObserver {
public:
    void entry_changed(int flat) override { changed_entries.push_back(flat); }
    void mark_changed() override { ++marks; }
    std::vector<int> changed_entries;
    int marks = 0;
};

TEST(ConfigurationImage, EntriesAreLittleEndianAtTheirFileOffsets) {
    ConfigurationImage image;
    KeyAssignment a;
    a.type = 0x0102;
    a.aux_code = 0x0304;
    a.param = 0x05060708;
    a.colour_key_flag = 0x090A0B0C;
    a.reserved = 0x0D0E0F10;
    image.set_assignment(2, 511, a);
    const std::size_t at = 64 + 2 * 8192 + 511 * 16;
    const std::vector<std::uint8_t> expected{0x02, 0x01, 0x04, 0x03, 0x08, 0x07, 0x06, 0x05,
                                             0x0C, 0x0B, 0x0A, 0x09, 0x10, 0x0F, 0x0E, 0x0D};
    EXPECT_EQ(
        std::vector<std::uint8_t>(image.bytes().begin() + at, image.bytes().begin() + at + 16),
        expected);
    EXPECT_EQ(at + 16, ConfigurationImage::kSize - 8192); // table 3 follows
    EXPECT_EQ(image.entry(flat_entry(2, 511)), a);
}

TEST(ConfigurationImage, DefaultImageHasHeadersAndGCodesInTableZeroOnly) {
    const ConfigurationImage image = make_default_image();
    const auto bytes = image.bytes();
    const std::vector<std::uint8_t> key_table_header(bytes.begin() + 32, bytes.begin() + 64);
    EXPECT_EQ(
        key_table_header,
        (std::vector<std::uint8_t>{0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00,
                                   0x02, 0x00, 0x00, 0x00, 0x00, 0x45, 0x0C, 0x20, 0x08, 0x4F, 0x1C,
                                   0x0E, 0x00, 0,    0,    0,    0,    0,    0,    0,    0}));
    const FileHeader h = image.header();
    EXPECT_EQ(h.total_size, 32832u);
    EXPECT_EQ(h.macro_count, 0);
    EXPECT_EQ(image.assignment(0, 256).aux_code, 0x0301);
    EXPECT_EQ(image.assignment(0, 273).aux_code, 0x1309);
    EXPECT_EQ(image.assignment(0, 274).aux_code, 0);
    for (int table = 1; table < 4; ++table) {
        EXPECT_TRUE(image.key_table(table) == KeyTable{}) << table;
    }
}

TEST(AssignmentTexts, TotalFollowsEverySetAndFree) {
    AssignmentTextTable texts;
    texts.set(5, u"abc");
    texts.set(700, u"");
    EXPECT_EQ(texts.size_of(5), 8u);
    EXPECT_EQ(texts.size_of(700), 2u); // an empty text still owns its terminator
    EXPECT_EQ(texts.total(), 10u);
    texts.set(5, u"abcdef");
    EXPECT_EQ(texts.total(), 16u);
    texts.free(5);
    texts.free(5);
    EXPECT_EQ(texts.total(), 2u);
    EXPECT_FALSE(texts.has(5));
}

TEST(Configuration, GivingANewAssignmentFreesTheTextSlotExactly) {
    Configuration config;
    config.make_default_image();
    config.assign(5, assignment(AssignmentType::LaunchProgram));
    config.texts().set(5, u"/usr/bin/true");
    config.texts().set(9, u"x");
    const auto before = config.texts().total();
    config.assign(5, assignment(AssignmentType::Key, 0x01E));
    EXPECT_EQ(config.texts().total(), before - 28);
    EXPECT_TRUE(config.texts().has(9));
    EXPECT_EQ(config.entry(5), assignment(AssignmentType::Key, 0x01E));
}

TEST(Configuration, MissingImageReadsAsNoAssignments) {
    Configuration config;
    EXPECT_TRUE(config.entry(30).is_zero());
    config.assign(30, assignment(AssignmentType::Disabled));
    EXPECT_FALSE(config.has_image());
}

TEST(Configuration, MacroPositionAndIdAtOutsideTheStore) {
    Configuration config;
    config.macros() = {macro(4, u"a"), macro(2, u"b")};
    EXPECT_EQ(config.macro_position(2), 1);
    EXPECT_EQ(config.macro_position(4), 0);
    EXPECT_EQ(config.macro_position(7), 0);
    EXPECT_EQ(config.macro_id_at(1), 2);
    EXPECT_EQ(config.macro_id_at(-1), 0);
    EXPECT_EQ(config.macro_id_at(2), 0);
}

class CommitMacroStore : public ::testing::Test {
protected:
    void SetUp() override {
        config.make_default_image();
        config.set_observer(&observer);
        config.macros() = {macro(1, u"one"), macro(2, u"two"), macro(3, u"three")};
    }
    Configuration config;
    RecordingObserver observer;
};

TEST_F(CommitMacroStore, RepairsDeletedReusedAndUnchosenReferences) {
    config.assign(flat_entry(0, 0x1E), assignment(AssignmentType::Macro, 2)); // deleted
    config.assign(flat_entry(1, 0x30), assignment(AssignmentType::Macro, 3)); // re-used id
    config.assign(flat_entry(2, 0x10), assignment(AssignmentType::Macro, 0)); // not chosen
    config.assign(flat_entry(3, 300), assignment(AssignmentType::Macro, 1));  // still valid
    config.assign(flat_entry(0, 0x11), assignment(AssignmentType::Key, 2));   // not a macro

    // Macro 2 deleted; macro 3 deleted and its id taken by a macro created in the same edit.
    ASSERT_TRUE(config.commit_macro_store(
        {macro(5, u"five"), macro(1, u"one"), macro(3, u"new three", 0, /*is_new=*/1)}));

    EXPECT_TRUE(config.entry(flat_entry(0, 0x1E)).is(AssignmentType::Default));
    EXPECT_TRUE(config.entry(flat_entry(1, 0x30)).is(AssignmentType::Default));
    EXPECT_EQ(config.entry(flat_entry(2, 0x10)), assignment(AssignmentType::Macro, 5));
    EXPECT_EQ(config.entry(flat_entry(3, 300)), assignment(AssignmentType::Macro, 1));
    EXPECT_EQ(config.entry(flat_entry(0, 0x11)), assignment(AssignmentType::Key, 2));
    EXPECT_EQ(observer.changed_entries,
              (std::vector<int>{flat_entry(0, 0x1E), flat_entry(1, 0x30), flat_entry(2, 0x10)}));
    EXPECT_EQ(observer.marks, 3);

    ASSERT_EQ(config.macros().size(), 3u);
    EXPECT_EQ(config.macros()[0].id, 5);
    EXPECT_EQ(config.macros()[2].is_new, 0);
}

// A window reacting to a repair reads the configuration: it must find the new store in place.
class StoreProbingObserver final : public ConfigurationObserver {
public:
    explicit StoreProbingObserver(const Configuration& config) : config_(config) {}
    void entry_changed(int) override { probe(); }
    void mark_changed() override { probe(); }
    int calls_before_install = 0;

private:
    void probe() {
        if (config_.macros().size() != 1) {
            ++calls_before_install;
        }
    }
    const Configuration& config_;
};

TEST_F(CommitMacroStore, ObserversHearOfRepairsOnceTheStoreIsInstalled) {
    StoreProbingObserver probing(config);
    config.set_observer(&probing);
    config.assign(flat_entry(0, 0x1E), assignment(AssignmentType::Macro, 2));
    ASSERT_TRUE(config.commit_macro_store({macro(1, u"one")}));
    EXPECT_TRUE(config.entry(flat_entry(0, 0x1E)).is(AssignmentType::Default));
    EXPECT_EQ(probing.calls_before_install, 0);
}

TEST(ConfigurationValue, ACopyCarriesTheDataButNotTheOwnersObserver) {
    Configuration owner;
    owner.make_default_image();
    RecordingObserver observer;
    owner.set_observer(&observer);
    Configuration copy = owner;
    copy.assign(7, assignment(AssignmentType::Macro, 0));
    ASSERT_TRUE(copy.commit_macro_store({}));
    EXPECT_TRUE(owner.entry(7).is_zero()) << "the owner's data is its own";

    Configuration other;
    other.make_default_image();
    other.assign(9, assignment(AssignmentType::Disabled));
    owner.replace(std::move(other));
    EXPECT_TRUE(owner.entry(9).is(AssignmentType::Disabled));
    owner.assign(flat_entry(0, 0x1E), assignment(AssignmentType::Macro, 2));
    ASSERT_TRUE(owner.commit_macro_store({macro(1, u"one")}));
    EXPECT_GT(observer.marks, 0) << "the observer stays with the owner across replace()";
}

TEST_F(CommitMacroStore, EmptyListLeavesUnchosenReferencesAndRejectsOverfullLists) {
    config.assign(7, assignment(AssignmentType::Macro, 0));
    ASSERT_TRUE(config.commit_macro_store({}));
    EXPECT_EQ(config.entry(7), assignment(AssignmentType::Macro, 0));
    EXPECT_TRUE(config.macros().empty());
    EXPECT_EQ(observer.marks, 0);

    MacroStore too_many;
    for (std::uint16_t id = 1; id <= 101; ++id) {
        too_many.push_back(macro(id, u"m"));
    }
    config.assign(8, assignment(AssignmentType::Macro, 77));
    EXPECT_FALSE(config.commit_macro_store(too_many));
    EXPECT_EQ(config.entry(8), assignment(AssignmentType::Macro, 77));
    EXPECT_TRUE(config.macros().empty());
}

TEST(DownloadSnapshot, IsAPrivateCopyWithARebuiltHeader) {
    Configuration config;
    config.make_default_image();
    config.macros() = {macro(1, u"m", 3)};
    config.texts().set(3, u"hello");
    const std::optional<DownloadSnapshot> taken = take_download_snapshot(config);
    ASSERT_TRUE(taken);
    config.assign(40, assignment(AssignmentType::Disabled));
    config.macros().clear();

    const DownloadSnapshot& snapshot = *taken;
    EXPECT_TRUE(snapshot.image.entry(40).is_zero());
    EXPECT_EQ(snapshot.macros.size(), 1u);
    EXPECT_EQ(snapshot.image.header().macro_count, 1);
    EXPECT_EQ(snapshot.image.header().text_size, 12u);
    EXPECT_EQ(snapshot.image.header().total_size, 32832u + 16512u + 12u);

    Configuration empty;
    EXPECT_FALSE(take_download_snapshot(empty).has_value());
}

} // namespace
} // namespace tarvenor
