#include "model/profile_rules.h"
#include "model/profile_rules_file.h"
#include "scoped_variable.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

ProfileRules sample_rules() {
    ProfileRules rules;
    rules.enabled = false;
    rules.default_profile = 0;
    rules.rules = {{"steam_app_1091500", 1}, {"Cyberpunk2077.exe", 1}, {"code", 2}};
    return rules;
}

TEST(ProfileRulesText, RoundTripsEverySetting) {
    for (const std::optional<int> fallback : {std::optional<int>(), std::optional<int>(2)}) {
        ProfileRules rules = sample_rules();
        rules.default_profile = fallback;
        const ParsedRules parsed = parse_profile_rules(serialise_profile_rules(rules));
        ASSERT_TRUE(parsed.rules) << parsed.error.text();
        EXPECT_EQ(*parsed.rules, rules);
    }
}

TEST(ProfileRulesText, ReadsWhatAPersonWrites) {
    const ParsedRules parsed = parse_profile_rules("\xEF\xBB\xBF# mine\r\n"
                                                   "[Settings]\r\n"
                                                   "  Enabled=YES \r\n"
                                                   "; games\r\n"
                                                   "\r\n"
                                                   "[RULES]\r\n"
                                                   "My Game.exe=2\r\n"
                                                   "xedit   =   3");
    ASSERT_TRUE(parsed.rules) << parsed.error.text();
    EXPECT_TRUE(parsed.rules->enabled);
    EXPECT_FALSE(parsed.rules->default_profile);
    const std::vector<ProfileRule> expected{{"My Game.exe", 1}, {"xedit", 2}};
    EXPECT_EQ(parsed.rules->rules, expected);
}

TEST(ProfileRulesText, AnEmptyFileHasNoRulesAndKeepsTheProfile) {
    const ParsedRules parsed = parse_profile_rules("");
    ASSERT_TRUE(parsed.rules);
    EXPECT_EQ(*parsed.rules, ProfileRules{});
}

TEST(ProfileRulesText, NamesTheLineAndTheMistake) {
    const struct {
        const char* text;
        int line;
        const char* reason_part;
    } cases[] = {
        {"[rules]\nxedit = 4\n", 2, "1, 2 or 3, not \"4\""},
        {"[rules]\nxedit = 0\n", 2, "not \"0\""},
        {"[rules]\nxedit = 12\n", 2, "not \"12\""},
        {"[rules]\nxedit\n", 2, "expected \"name = value\""},
        {"[rules]\n= 2\n", 2, "name is missing"},
        {"[rules]\nxedit = 1\nXEDIT = 2\n", 3, "has a rule already"},
        {"xedit = 1\n", 1, "before [settings] or [rules]"},
        {"[games]\n", 1, "unknown section [games]"},
        {"[rules\n", 1, "closing ']'"},
        {"[settings]\nenabled = maybe\n", 2, "yes or no"},
        {"[settings]\ndefault = 0\n", 2, "1, 2, 3 or keep"},
        {"[settings]\nspeed = 3\n", 2, "unknown setting \"speed\""},
    };
    for (const auto& c : cases) {
        const ParsedRules parsed = parse_profile_rules(c.text);
        EXPECT_FALSE(parsed.rules) << c.text;
        EXPECT_EQ(parsed.error.line, c.line) << c.text;
        EXPECT_NE(parsed.error.reason.find(c.reason_part), std::string::npos)
            << c.text << " gave: " << parsed.error.reason;
    }
}

TEST(ProfileRulesText, RefusesNamesThatWouldNotReadBack) {
    EXPECT_EQ(application_name_problem("steam_app_730"), "");
    EXPECT_EQ(application_name_problem("Half Life 2.exe"), "");
    const std::vector<std::string> bad_names{
        "", " lead", "trail ", "a=b", "#x", ";x", "[x", "two\nlines", std::string(256, 'a')};
    for (const std::string& bad : bad_names) {
        EXPECT_NE(application_name_problem(bad), "") << bad;
    }
    EXPECT_EQ(application_name_problem(std::string(255, 'a')), "");
}

TEST(ProfileRulesEdits, SetChangesTheRuleOfTheSameApplicationWhateverItsCase) {
    ProfileRules rules = sample_rules();
    rules.set("CODE", 0);
    rules.set("xedit", 1);
    ASSERT_EQ(rules.rules.size(), 4u);
    EXPECT_EQ(rules.rules[2], (ProfileRule{"code", 0}));
    EXPECT_EQ(rules.rules[3], (ProfileRule{"xedit", 1}));
    EXPECT_TRUE(rules.remove("STEAM_APP_1091500"));
    EXPECT_FALSE(rules.remove("steam_app_1091500"));
    EXPECT_EQ(rules.rules.size(), 3u);
    EXPECT_EQ(rules.find("steam_app_1091500"), nullptr);
}

class ProfileRulesFile : public testing::TempDirTest {};

TEST_F(ProfileRulesFile, SavesIntoANewFolderAndLoadsTheSame) {
    const auto file = dir_ / "config" / "Tarvenor_Ostrel" / "profile-rules.ini";
    ASSERT_TRUE(save_profile_rules(file, sample_rules()));
    const RulesLoad load = load_profile_rules(file);
    EXPECT_EQ(load.status, RulesLoad::Status::Loaded);
    EXPECT_EQ(load.rules, sample_rules());
    // Nothing but the file itself: the temporary of the atomic save is gone.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ProfileRulesFile, AMissingFileIsNoRulesAndNoProblem) {
    const RulesLoad load = load_profile_rules(dir_ / "none.ini");
    EXPECT_EQ(load.status, RulesLoad::Status::Missing);
    EXPECT_TRUE(load.usable());
    EXPECT_TRUE(load.rules.rules.empty());
    EXPECT_FALSE(load.rules.default_profile);
}

TEST_F(ProfileRulesFile, ADamagedFileIsToldWithItsPathAndLine) {
    const auto file = write("rules.ini", "[rules]\nxedit = 2\nxcalc = seven\n");
    const RulesLoad load = load_profile_rules(file);
    EXPECT_EQ(load.status, RulesLoad::Status::Damaged);
    EXPECT_FALSE(load.usable());
    EXPECT_NE(load.problem.find(file.string() + ": line 3: "), std::string::npos) << load.problem;
    EXPECT_TRUE(load.rules.rules.empty());
}

TEST_F(ProfileRulesFile, AFolderInItsPlaceIsNotRead) {
    std::filesystem::create_directory(dir_ / "rules.ini");
    EXPECT_EQ(load_profile_rules(dir_ / "rules.ini").status, RulesLoad::Status::Unreadable);
}

TEST_F(ProfileRulesFile, AReadOnlyFileIsNotReplaced) {
    const auto file = write("rules.ini", "[rules]\nxedit = 2\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    EXPECT_EQ(save_profile_rules(file, sample_rules()).failure, FileWriteResult::Failure::ReadOnly);
    EXPECT_EQ(slurp(file), "[rules]\nxedit = 2\n");
}

TEST_F(ProfileRulesFile, LivesInTheConfigurationFolderUnlessNamed) {
    const testing::ScopedVariable named("TARVENOR_RULES_FILE", std::nullopt);
#ifdef _WIN32
    const testing::ScopedVariable config("APPDATA", (dir_ / "cfg").string());
    EXPECT_EQ(profile_rules_path(), dir_ / "cfg" / "Tarvenor_Ostrel" / "profile-rules.ini");
#else
    const testing::ScopedVariable config("XDG_CONFIG_HOME", (dir_ / "cfg").string());
    EXPECT_EQ(profile_rules_path(), dir_ / "cfg" / "Tarvenor_Ostrel" / "profile-rules.ini");
    {
        const testing::ScopedVariable relative("XDG_CONFIG_HOME", "relative");
        const testing::ScopedVariable home("HOME", dir_.string());
        EXPECT_EQ(profile_rules_path(), dir_ / ".config" / "Tarvenor_Ostrel" / "profile-rules.ini");
    }
#endif
    const testing::ScopedVariable file("TARVENOR_RULES_FILE", (dir_ / "mine.ini").string());
    EXPECT_EQ(profile_rules_path(), dir_ / "mine.ini");
}

} // namespace
} // namespace tarvenor
