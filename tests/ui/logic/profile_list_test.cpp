#include "folder_documents.h"
#include "map_settings.h"
#include "ui/logic/profile_controls.h"
#include "ui/logic/profile_list.h"

#include <gtest/gtest.h>

namespace tarvenor::testing {
namespace {

class ProfileListTest : public ::testing::Test {
protected:
    FolderDocuments documents{"/home/u/Documents"};
    UserStorage storage{documents};
    ProfileList list;
};

TEST_F(ProfileListTest, FillShowsThreeRowsNamingTheMirrorWithTheActiveOneChecked) {
    list.fill(storage, 1);
    ASSERT_EQ(list.rows().size(), 3u);
    for (const ProfileRow& row : list.rows()) {
        EXPECT_EQ(row.name, "$Profile0");
        EXPECT_EQ(row.folder, "/home/u/Documents/Tarvenor_R4X/");
    }
    EXPECT_EQ(list.checked(), 1);
    EXPECT_EQ(list.chosen_profile(), 1);
    EXPECT_FALSE(list.pending());
    list.fill(storage, -1);
    EXPECT_EQ(list.checked(), -1);
    EXPECT_EQ(list.chosen_profile(), std::nullopt);
}

TEST_F(ProfileListTest, ARowBeyondTheThirdCannotBecomeActive) {
    list.fill(storage, 0);
    list.append("/data/games/fps.tvp");
    list.clear_pending();
    EXPECT_EQ(list.set_checked(3, true), ProfileList::Check::BeyondProfiles);
    EXPECT_EQ(list.checked(), 0);
    EXPECT_FALSE(list.pending());
    EXPECT_EQ(list.set_checked(2, true), ProfileList::Check::Checked);
    EXPECT_EQ(list.chosen_profile(), 2);
    EXPECT_TRUE(list.pending());
    EXPECT_EQ(list.set_checked(2, false), ProfileList::Check::Unchecked);
    EXPECT_EQ(list.chosen_profile(), std::nullopt);
}

TEST_F(ProfileListTest, DeleteSelectsTheNextRowAndKeepsTheCheckOnItsRow) {
    list.fill(storage, 2);
    list.append("/data/a.tvp");
    EXPECT_EQ(list.remove(0), 0);
    EXPECT_EQ(list.checked(), 1); // the same row, now second
    EXPECT_EQ(list.remove(2), 1); // the last row: the new last one
    EXPECT_EQ(list.remove(7), -1);
    EXPECT_EQ(list.remove(1), 0);
    EXPECT_EQ(list.checked(), -1);
    EXPECT_EQ(list.rows().size(), 1u);
}

TEST_F(ProfileListTest, StoreWritesOneKeyPerRowThenTheCount) {
    MapSettings settings;
    list.fill(storage, 0);
    list.append("/data/games/fps.tvp");
    list.store(settings);
    EXPECT_EQ(settings.values.at("PROFILE00"), "4");
    EXPECT_EQ(settings.values.at("PROFILE01"), "/home/u/Documents/Tarvenor_R4X/$Profile0.tvp");
    EXPECT_EQ(settings.values.at("PROFILE04"), "/data/games/fps.tvp");
}

TEST_F(ProfileListTest, LabelNamesTheMirrorOrTheDefaultProfile) {
    const TextTable texts;
    EXPECT_EQ(profile_label(storage, texts, 2).caption, "$Profile0");
    const ProfileLabel unknown = profile_label(storage, texts, -1);
    EXPECT_EQ(unknown.caption, "<Default Profile>");
    EXPECT_EQ(unknown.tooltip, "The current contextual  mode: <Default Profile>");
}

TEST(Flip, AnyStoredNumberButZeroCountsAsOn) {
    MapSettings settings;
    EXPECT_FALSE(read_flip(settings));
    settings.values["Flip"] = "5";
    EXPECT_TRUE(read_flip(settings));
    EXPECT_TRUE(toggle_flip(settings));
    EXPECT_EQ(settings.values.at("Flip"), "0");
    EXPECT_TRUE(toggle_flip(settings));
    EXPECT_EQ(settings.values.at("Flip"), "1");
    settings.read_only = true;
    EXPECT_FALSE(toggle_flip(settings)) << "a store that cannot keep it says so";
    EXPECT_EQ(settings.values.at("Flip"), "1");
    settings.values["Flip"] = "junk";
    EXPECT_FALSE(read_flip(settings));
}

TEST(Flip, SwapsTheFKeysForTheDKeysAndTurnsTheArrows) {
    const FlipLook off = flip_look(false);
    EXPECT_TRUE(off.f_keys_enabled);
    EXPECT_FALSE(off.d_keys_enabled);
    EXPECT_STREQ(off.left_arrow_face, "DOWN_ARROW_LEFT1");
    const FlipLook on = flip_look(true);
    EXPECT_FALSE(on.f_keys_enabled);
    EXPECT_TRUE(on.d_keys_enabled);
    EXPECT_STREQ(on.right_arrow_face, "UP_ARROW_RIGHT1");
}

TEST(ControlIds, ButtonsMapToTheirChoices) {
    EXPECT_EQ(report_rate_of(1147), 0);
    EXPECT_EQ(report_rate_of(1170), 3);
    EXPECT_EQ(report_rate_of(1148), -1);
    EXPECT_EQ(profile_of(1136), 1);
    EXPECT_EQ(profile_of(1138), -1);
}

} // namespace
} // namespace tarvenor::testing
