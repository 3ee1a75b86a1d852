#include "desktop/toplevel_list.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

// Handles stand for the compositor's toplevel objects: only their addresses count.
const char kToplevels[4] = {};
const ToplevelList::Handle editor = &kToplevels[0];
const ToplevelList::Handle game = &kToplevels[1];
const ToplevelList::Handle shell = &kToplevels[2];
const ToplevelList::Handle unfinished = &kToplevels[3];

// A toplevel announced with its app id and state, then done, as a compositor sends it.
std::optional<std::string> announce(ToplevelList& list, ToplevelList::Handle toplevel,
                                    const std::string& app_id, bool activated) {
    list.app_id(toplevel, app_id);
    list.state(toplevel, activated);
    return list.done(toplevel);
}

TEST(ToplevelList, TheActivatedWindowCountsOnlyOnceItsDetailsAreDone) {
    ToplevelList list;
    announce(list, editor, "code", true);
    list.app_id(game, "steam_app_42");
    list.state(game, true);
    // Told but not done: the editor is still in front.
    EXPECT_EQ(list.activated(), "code");
    EXPECT_EQ(list.done(game), "steam_app_42");
    EXPECT_EQ(list.activated(), "steam_app_42");
}

TEST(ToplevelList, FocusMovingReportsTheNewWindowWhicheverDoneComesFirst) {
    ToplevelList list;
    announce(list, editor, "code", true);
    announce(list, game, "steam_app_42", false);
    // The new window's done before the old one's: the old one's later deactivation changes
    // nothing.
    list.state(game, true);
    EXPECT_EQ(list.done(game), "steam_app_42");
    list.state(editor, false);
    EXPECT_EQ(list.done(editor), std::nullopt);
    EXPECT_EQ(list.activated(), "steam_app_42");
    // The old window's done first: nothing is in front until the new one's comes.
    list.state(game, false);
    EXPECT_EQ(list.done(game), std::nullopt);
    EXPECT_EQ(list.activated(), std::nullopt);
    list.state(editor, true);
    EXPECT_EQ(list.done(editor), "code");
}

TEST(ToplevelList, DetailsResentWithoutChangeReportNothing) {
    ToplevelList list;
    EXPECT_EQ(announce(list, editor, "code", true), "code");
    // A title change comes as a done of its own.
    EXPECT_EQ(list.done(editor), std::nullopt);
    EXPECT_EQ(announce(list, editor, "code", true), std::nullopt);
}

TEST(ToplevelList, AnActivatedWindowTakingAnotherAppIdIsReportedAgain) {
    ToplevelList list;
    announce(list, editor, "", true);
    // Without an app id it names no application, yet it is the one in front.
    EXPECT_EQ(list.activated(), std::nullopt);
    EXPECT_EQ(announce(list, editor, "code", true), "code");
    EXPECT_EQ(announce(list, editor, "code-insiders", true), "code-insiders");
}

TEST(ToplevelList, ReturningToAWindowAfterAnotherReportsItAgain) {
    ToplevelList list;
    announce(list, editor, "code", true);
    announce(list, editor, "code", false);
    EXPECT_EQ(announce(list, game, "steam_app_42", true), "steam_app_42");
    announce(list, game, "steam_app_42", false);
    EXPECT_EQ(announce(list, editor, "code", true), "code");
}

TEST(ToplevelList, AClosedWindowLeavesTheListAndTheFront) {
    ToplevelList list;
    announce(list, editor, "code", false);
    announce(list, game, "steam_app_42", true);
    list.closed(game);
    EXPECT_EQ(list.activated(), std::nullopt);
    EXPECT_EQ(list.app_ids(), std::vector<std::string>{"code"});
    // A new toplevel at the closed one's address is a window of its own.
    EXPECT_EQ(announce(list, game, "steam_app_42", true), "steam_app_42");
}

TEST(ToplevelList, TheRunningApplicationsAreTheDoneWindowsWithAnAppIdOnceEach) {
    ToplevelList list;
    announce(list, editor, "code", false);
    announce(list, shell, "", false);
    announce(list, game, "code", true);
    list.app_id(unfinished, "not-done-yet");
    EXPECT_EQ(list.app_ids(), std::vector<std::string>{"code"});
}

} // namespace
} // namespace tarvenor
