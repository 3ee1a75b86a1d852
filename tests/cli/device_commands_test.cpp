#include "cli_keyboard_test.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tarvenor::testing {
namespace {

class CliDeviceCommands : public CliKeyboardTest {};

TEST_F(CliDeviceCommands, InfoDescribesTheKeyboardAsTextAndJson) {
    const CliRun text = cli("info");
    EXPECT_EQ(text.exit_code, 0) << text.err;
    EXPECT_EQ(text.out, "Keyboards connected: 1\nActive profile: 1\nMacro space: 8192 bytes\n"
                        "Effects: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 20\n");
    poke_memory("parameters.bin", 11, {2});
    const CliRun json = cli("info --json");
    EXPECT_EQ(json.exit_code, 0) << json.err;
    EXPECT_EQ(json.out, "{\"keyboards\":1,\"active_profile\":1,\"macro_space\":256,"
                        "\"effects\":[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,20]}\n");
}

TEST_F(CliDeviceCommands, ProfileIsSwitchedOnTheKeyboardAndReadBack) {
    EXPECT_EQ(cli("profile 3").exit_code, 0);
    EXPECT_EQ(memory("parameters.bin")[10], 2);
    const CliRun shown = cli("profile");
    EXPECT_EQ(shown.exit_code, 0);
    EXPECT_EQ(shown.out, "3\n");
    EXPECT_NE(cli("info --json").out.find("\"active_profile\":3"), std::string::npos);
}

TEST_F(CliDeviceCommands, KeyboardNamingNoValidProfile) {
    cli("info"); // creates the memory files
    poke_memory("parameters.bin", 10, {7});
    EXPECT_NE(cli("info --json").out.find("\"active_profile\":null"), std::string::npos);
    EXPECT_EQ(cli("profile").exit_code, 4);
}

TEST_F(CliDeviceCommands, FailuresAreToldInWordsWithNumbersOnlyWhenVerbose) {
    EXPECT_EQ(cli("info", "TARVENOR_SIM_UNPLUGGED=1").exit_code, 3);
    // After the reads on arrival (factory key matrix: 7 reports, parameters: 1) and the switch's
    // own read of the parameters.
    const CliRun refused = cli("profile 2", "TARVENOR_SIM_FAULT='status-ff 3 9'");
    EXPECT_EQ(refused.exit_code, 4);
    EXPECT_EQ(refused.err, "tarvenor-cli: switching the profile failed: the keyboard refused "
                           "the command\n");
    EXPECT_EQ(memory("parameters.bin")[10], 0) << "the refused write changed nothing";
    const CliRun verbose = cli("profile 2 --verbose", "TARVENOR_SIM_FAULT='status-ff 3 9'");
    EXPECT_NE(verbose.err.find("refused the command (status -102)"), std::string::npos)
        << verbose.err;

    const CliRun out_of_step = cli("profile 2", "TARVENOR_SIM_FAULT='bad-echo 3 9'");
    EXPECT_EQ(out_of_step.exit_code, 4);
    EXPECT_EQ(out_of_step.err, "tarvenor-cli: switching the profile failed: the keyboard "
                               "answered with a different command\n");

    const CliRun missing = cli("info", "", "/nonexistent/libHidServ.so");
    EXPECT_EQ(missing.exit_code, 5);
    EXPECT_NE(missing.err.find("/nonexistent/libHidServ.so"), std::string::npos);
}

// A keyboard that stops answering while it is learnt: the command that found it silent is the
// last one sent, and nothing waits for answers afterwards.
TEST_F(CliDeviceCommands, AKeyboardThatStopsAnsweringFailsInfoAfterOneCommand) {
    const std::string traffic = file("traffic");
    for (const int good : {3, 8}) { // in the factory key matrix; info's own read
        std::filesystem::remove(traffic);
        const auto began = std::chrono::steady_clock::now();
        const CliRun dead =
            cli("info", "TARVENOR_SIM_TRAFFIC=" + shell_quoted(traffic) +
                            " TARVENOR_SIM_FAULT='no-answer 1000 " + std::to_string(good) + "'");
        const auto took = std::chrono::steady_clock::now() - began;
        EXPECT_EQ(dead.exit_code, 4) << good;
        EXPECT_EQ(dead.err, "tarvenor-cli: reading the keyboard's parameters failed: the "
                            "keyboard did not answer\n");
        EXPECT_EQ(count_requests(traffic), good + 3u) << "after " << good << " good reports";
        // Three answer waits of a second; waiting for the unanswered reports would add two.
        EXPECT_LT(took, std::chrono::milliseconds(4500)) << good;
    }
}

} // namespace
} // namespace tarvenor::testing
