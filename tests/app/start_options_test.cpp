#include "app/start_options.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(StartOptions, StartAndKillInAnyCaseAndBothSpellings) {
    for (const char* start : {"/Start", "/start", "/START", "--start", "--Start"}) {
        const StartOptions options = parse_start_options({start});
        EXPECT_TRUE(options.quiet_start) << start;
        EXPECT_FALSE(options.kill) << start;
    }
    for (const char* kill : {"/Kill", "/KILL", "/kill", "--kill"}) {
        const StartOptions options = parse_start_options({kill});
        EXPECT_TRUE(options.kill) << kill;
        EXPECT_FALSE(options.quiet_start) << kill;
    }
}

TEST(StartOptions, BothTogetherWhateverTheOrder) {
    for (const auto& arguments : {std::vector<std::string>{"/kill", "/start"},
                                  std::vector<std::string>{"/Start", "junk", "/KILL"}}) {
        const StartOptions options = parse_start_options(arguments);
        EXPECT_TRUE(options.kill);
        EXPECT_TRUE(options.quiet_start);
    }
}

TEST(StartOptions, NearMissesAndOtherArgumentsAreIgnored) {
    for (const char* other : {"Start", "/Starts", "-start", "/St", "", "/", "--", "/kil", "//kill",
                              "---start", "/start "}) {
        const StartOptions options = parse_start_options({other});
        EXPECT_FALSE(options.quiet_start) << other;
        EXPECT_FALSE(options.kill) << other;
        EXPECT_FALSE(options.help) << other;
    }
    EXPECT_FALSE(parse_start_options({}).quiet_start);
}

TEST(StartOptions, HelpAndVersion) {
    EXPECT_TRUE(parse_start_options({"--help"}).help);
    EXPECT_TRUE(parse_start_options({"-h"}).help);
    EXPECT_TRUE(parse_start_options({"--version"}).version);
    EXPECT_FALSE(parse_start_options({"--HELP"}).quiet_start);
}

} // namespace
} // namespace tarvenor
