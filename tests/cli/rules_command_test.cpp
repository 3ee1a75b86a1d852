#include "cli_runner.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tarvenor::testing {
namespace {

// `tarvenor-cli rules` on a rules file in the test's folder.
class RulesCommand : public TempDirTest {
protected:
    CliRun cli(const std::string& arguments) {
        return run_cli(dir_, arguments, "TARVENOR_RULES_FILE=" + shell_quoted(file()));
    }
    std::filesystem::path file() const { return dir_ / "config" / "profile-rules.ini"; }
};

TEST_F(RulesCommand, AddRemoveAndDefaultChangeTheFileListedBack) {
    CliRun run = cli("rules");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_NE(run.out.find("No rules."), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(file())); // listing writes nothing

    ASSERT_EQ(cli("rules add steam_app_1091500 2").exit_code, 0);
    ASSERT_EQ(cli("rules add 'My Game.exe' 3").exit_code, 0);
    ASSERT_EQ(cli("rules add STEAM_APP_1091500 1").exit_code, 0); // the same rule, changed
    ASSERT_EQ(cli("rules default 1").exit_code, 0);
    run = cli("rules --json");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const nlohmann::json listed = nlohmann::json::parse(run.out);
    EXPECT_EQ(listed["file"], file().string());
    EXPECT_EQ(listed["enabled"], true);
    EXPECT_EQ(listed["default"], 1);
    EXPECT_EQ(listed["rules"], nlohmann::json::parse(
                                   R"([{"application": "steam_app_1091500", "profile": 1},
                                       {"application": "My Game.exe", "profile": 3}])"));

    ASSERT_EQ(cli("rules remove 'my game.exe'").exit_code, 0);
    ASSERT_EQ(cli("rules default keep").exit_code, 0);
    run = cli("rules");
    EXPECT_NE(run.out.find("steam_app_1091500  1"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("My Game.exe"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("keep the profile as it is"), std::string::npos) << run.out;
    EXPECT_EQ(nlohmann::json::parse(cli("rules --json").out)["default"], "keep");
}

TEST_F(RulesCommand, BadArgumentsChangeNothing) {
    ASSERT_EQ(cli("rules add xedit 2").exit_code, 0);
    const std::string before = slurp(file());
    const struct {
        const char* arguments;
        const char* said;
    } cases[] = {
        {"rules add xedit 4", ""},
        {"rules add xedit", ""},
        {"rules add '#xedit' 1", "cannot be an application name"},
        {"rules add 'a=b' 1", "cannot be an application name"},
        {"rules remove xcalc", "no rule names xcalc"},
        {"rules default 0", "1, 2, 3 or keep"},
        {"rules default", ""},
    };
    for (const auto& c : cases) {
        const CliRun run = cli(c.arguments);
        EXPECT_EQ(run.exit_code, 1) << c.arguments;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_EQ(slurp(file()), before) << c.arguments;
    }
}

TEST_F(RulesCommand, ADamagedFileIsNamedAndNeverReplaced) {
    std::filesystem::create_directories(file().parent_path());
    const std::string damaged = "[rules]\nxedit = 2\nxcalc = two\n";
    write("config/profile-rules.ini", damaged);
    for (const char* arguments : {"rules", "rules --json", "rules add xterm 1"}) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exit_code, 1) << arguments;
        EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(file().string()), std::string::npos) << run.err;
    }
    EXPECT_EQ(slurp(file()), damaged);
}

TEST_F(RulesCommand, AFileThatCannotBeWrittenIsAFileError) {
    std::filesystem::create_directories(file());
    const CliRun run = cli("rules add xedit 2");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find(file().string()), std::string::npos) << run.err;
}

} // namespace
} // namespace tarvenor::testing
