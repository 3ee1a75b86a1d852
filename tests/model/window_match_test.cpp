#include "model/window_match.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

ProfileRules rules_of(std::vector<ProfileRule> list, std::optional<int> fallback = std::nullopt) {
    ProfileRules rules;
    rules.rules = std::move(list);
    rules.default_profile = fallback;
    return rules;
}

FocusedWindow x11(std::string instance, std::string window_class, std::string executable = "") {
    return {std::move(instance), std::move(window_class), "", std::move(executable)};
}

FocusedWindow wayland(std::string app_id) {
    return {"", "", std::move(app_id), ""};
}

TEST(WindowMatch, EveryNameTheDesktopGivesCanBeMatched) {
    const ProfileRules rules = rules_of({{"xedit", 1},
                                         {"XCalc", 2},
                                         {"firefox", 0},
                                         {"steam_app_1091500", 1},
                                         {"witcher3", 2},
                                         {"Cyberpunk2077.exe", 1},
                                         {"blender", 2}});
    const struct {
        FocusedWindow window;
        std::optional<int> profile;
        const char* application;
    } cases[] = {
        // X11 instance (what "-name" sets), X11 class, either case.
        {x11("xedit", "Xedit"), 1, "xedit"},
        {x11("calculator", "XCalc"), 2, "XCalc"},
        {x11("XCALC", ""), 2, "XCalc"},
        // Wayland app id.
        {wayland("firefox"), 0, "firefox"},
        // Proton: a steam_app_<id> class.
        {x11("steam_app_1091500", "steam_app_1091500"), 1, "steam_app_1091500"},
        // Wine: the .exe name as class, matched with or without its suffix.
        {x11("witcher3.exe", "witcher3.exe"), 2, "witcher3"},
        {x11("cyberpunk2077.exe", "cyberpunk2077.exe"), 1, "Cyberpunk2077.exe"},
        // The executable where the class says nothing useful.
        {x11("main", "Main", "blender"), 2, "blender"},
        {{"", "", "", "blender"}, 2, "blender"},
    };
    for (const auto& c : cases) {
        const ProfileChoice choice = choose_profile(rules, c.window);
        EXPECT_EQ(choice.reason, ProfileChoice::Reason::Rule) << c.application;
        EXPECT_EQ(choice.profile, c.profile) << c.application;
        EXPECT_EQ(choice.application, c.application);
    }
}

TEST(WindowMatch, NearNamesAreNotMatches) {
    EXPECT_FALSE(rule_names("xedit", "xedit2"));
    EXPECT_FALSE(rule_names("xedit", "xedi"));
    EXPECT_FALSE(rule_names("xedit", "xedit.ex"));
    EXPECT_FALSE(rule_names("xedit", "xedit.exe.exe"));
    EXPECT_FALSE(rule_names("xedit.exe", "xedit"));
    EXPECT_FALSE(rule_names("steam_app_730", "steam_app_7300"));
    EXPECT_FALSE(rule_names("", ""));
    EXPECT_FALSE(rule_names("", ".exe"));
    EXPECT_TRUE(rule_names("XEDIT", "xedit.EXE"));
}

TEST(WindowMatch, TheFirstRuleInTheFileWins) {
    // A Proton game whose class and .exe name both have rules.
    const ProfileRules rules = rules_of({{"game.exe", 2}, {"steam_app_42", 1}});
    const ProfileChoice choice = choose_profile(rules, x11("game.exe", "steam_app_42"));
    EXPECT_EQ(choice.profile, 2);
    EXPECT_EQ(choice.application, "game.exe");
}

TEST(WindowMatch, AnUnknownApplicationGetsTheDefaultOrKeepsTheProfile) {
    const FocusedWindow other = x11("xterm", "XTerm", "xterm");
    const ProfileChoice fallback = choose_profile(rules_of({{"xedit", 1}}, 0), other);
    EXPECT_EQ(fallback.reason, ProfileChoice::Reason::Default);
    EXPECT_EQ(fallback.profile, 0);
    const ProfileChoice keep = choose_profile(rules_of({{"xedit", 1}}), other);
    EXPECT_EQ(keep.reason, ProfileChoice::Reason::Keep);
    EXPECT_FALSE(keep.profile);
    // A window the desktop names not at all is just another application.
    EXPECT_EQ(choose_profile(rules_of({}, 2), FocusedWindow{}).profile, 2);
}

TEST(WindowMatch, NamesComeOnceEach) {
    const FocusedWindow window{"Code", "code", "", "code"};
    EXPECT_EQ(window.names(), std::vector<std::string>{"code"});
    EXPECT_TRUE(FocusedWindow{}.names().empty());
}

} // namespace
} // namespace tarvenor
