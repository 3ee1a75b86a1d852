#include "ui/logic/busy_bar_logic.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(BusyBar, FramesRunJdt1ToJdt10AndWrap) {
    BusyBarLogic bar;
    ASSERT_TRUE(bar.job_started());
    for (int round = 0; round < 2; ++round) {
        for (int k = 0; k < BusyBarLogic::kFrames; ++k) {
            EXPECT_EQ(BusyBarLogic::frame_file(bar.next_frame()),
                      "jdt" + std::to_string(k + 1) + ".bmp");
        }
    }
}

TEST(BusyBar, HiddenOnlyAfterTheLastOfOverlappingJobs) {
    BusyBarLogic bar;
    EXPECT_TRUE(bar.job_started());
    EXPECT_FALSE(bar.job_started()); // already showing
    EXPECT_FALSE(bar.job_finished());
    EXPECT_FALSE(bar.hide_due());
    EXPECT_TRUE(bar.visible());
    EXPECT_TRUE(bar.job_finished());
    EXPECT_TRUE(bar.hide_due());
    EXPECT_FALSE(bar.visible());
    EXPECT_FALSE(bar.hide_due());
}

TEST(BusyBar, AJobStartingDuringTheHideDelayKeepsTheBar) {
    BusyBarLogic bar;
    bar.job_started();
    bar.next_frame();
    bar.next_frame();
    EXPECT_TRUE(bar.job_finished());
    EXPECT_FALSE(bar.job_started()); // still visible: no restart, the frames go on
    EXPECT_FALSE(bar.hide_due());
    EXPECT_EQ(bar.next_frame(), 2);
    EXPECT_TRUE(bar.job_finished());
    EXPECT_TRUE(bar.hide_due());
    // A new run starts again at the first frame.
    EXPECT_TRUE(bar.job_started());
    EXPECT_EQ(bar.next_frame(), 0);
}

TEST(BusyBar, UnmatchedFinishIsIgnored) {
    BusyBarLogic bar;
    EXPECT_FALSE(bar.job_finished());
    EXPECT_EQ(bar.running(), 0);
    EXPECT_FALSE(bar.hide_due());
}

} // namespace
} // namespace tarvenor
