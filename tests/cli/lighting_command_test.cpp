#include "cli_keyboard_test.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tarvenor::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One request the keyboard received: command, address and the data its length covers.
struct Request {
    int command;
    int address;
    Bytes data;
    bool operator==(const Request&) const = default;
};

class CliLighting : public CliKeyboardTest {
protected:
    CliRun traced(const std::string& arguments) {
        std::filesystem::remove(dir_ / "traffic");
        return cli(arguments, "TARVENOR_SIM_TRAFFIC=" + file("traffic"));
    }

    std::vector<Request> writes() const {
        std::vector<Request> found;
        std::ifstream in(dir_ / "traffic");
        for (std::string line; std::getline(in, line);) {
            const auto byte = [&](std::size_t i) {
                return static_cast<std::uint8_t>(
                    std::stoul(line.substr(2 + 2 * i, 2), nullptr, 16));
            };
            const int command = byte(3);
            if (line[0] != '>' || (command != 6 && command != 17)) {
                continue;
            }
            Request request{command, byte(5) | byte(6) << 8, {}};
            for (std::size_t i = 0; i < byte(4); ++i) {
                request.data.push_back(byte(8 + i));
            }
            found.push_back(request);
        }
        return found;
    }
};

TEST_F(CliLighting, ShowsTheDecodedLightingAsTextAndJson) {
    // The effects' names come from the skin, which only builds with the windows have.
    const bool skin = std::filesystem::exists(std::filesystem::path(TARVENOR_CLI).parent_path() /
                                              "Skins" / "Main.ini");
    const std::string wave = skin ? "Wave" : "";
    const CliRun json = cli("lighting --json --profile 2");
    EXPECT_EQ(json.exit_code, 0) << json.err;
    EXPECT_EQ(
        json.out,
        "{\"profile\":2,\"effect\":1,\"effect_name\":\"" + wave +
            "\",\"brightness\":4,\"speed\":0,"
            "\"direction\":\"right\",\"random\":true,\"colour\":\"FF0000\",\"base\":\"FFFFFF\","
            "\"user\":\"FF0000\",\"report_rate\":3,\"paint_tool\":\"user\","
            "\"colour_choice\":\"red\"}\n");
    const CliRun text = cli("lighting --per-key");
    EXPECT_EQ(text.exit_code, 0) << text.err;
    EXPECT_NE(text.out.find("effect_name: " + wave + "\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\n  Fn FFFFFF\n"), std::string::npos) << text.out;
}

TEST_F(CliLighting, SetWritesWhatThePanelWritesInTheOrderGiven) {
    const CliRun set = traced("lighting set --profile 2 speed=1 base=00FF00 random=on random=off");
    EXPECT_EQ(set.exit_code, 0) << set.err;
    const std::vector<Request> got = writes();
    ASSERT_EQ(got.size(), 1u + 1 + 7 + 1 + 1);
    EXPECT_EQ(got[0], (Request{6, 42 + 2, {1}})) << "the speed as the keyboard keeps it";
    EXPECT_EQ(got[1], (Request{6, 42 + 9, {0, 0xFF, 0}}));
    EXPECT_EQ(got[2].command, 17);
    EXPECT_EQ(got[2].address, 512);
    EXPECT_EQ(got[9], (Request{6, 42 + 9, {0, 0xFF, 0}})) << "offset 9 twice for a new base";
    EXPECT_EQ(got[10], (Request{6, 42 + 4, {0}})) << "random is on already: only off writes";
    const Bytes colours = memory("colours.bin");
    EXPECT_EQ(Bytes(colours.begin() + 512 + 64 * 3, colours.begin() + 512 + 65 * 3),
              (Bytes{0, 0xFF, 0}))
        << "the keys that followed the white base follow it to green";
}

TEST_F(CliLighting, ValuesOutOfRangeAreRefusedAndNothingIsWritten) {
    cli("info");                                 // the keyboard's memory exists from here on
    poke_memory("parameters.bin", 12 + 18, {0}); // effect 20 is not offered
    for (const char* bad :
         {"brightness=5", "speed=-1", "direction=up", "random=yes", "colour=12345G", "base=1234567",
          "effect=19", "effect=20", "glow=1", "brightness", "speed=1 brightness=9"}) {
        const CliRun run = traced(std::string("lighting set ") + bad);
        EXPECT_EQ(run.exit_code, 1) << bad;
        EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << bad << run.err;
        EXPECT_TRUE(writes().empty()) << bad;
    }
    EXPECT_EQ(cli("lighting --profile 4").exit_code, 1);
    EXPECT_EQ(cli("key-colour Q 12345").exit_code, 1);
    EXPECT_EQ(cli("key-colour NoSuchKey 123456").exit_code, 1);
}

TEST_F(CliLighting, KeyColourPaintsOneKeyByName) {
    const CliRun painted = traced("key-colour --profile 3 fn 102030");
    EXPECT_EQ(painted.exit_code, 0) << painted.err;
    EXPECT_EQ(writes(), (std::vector<Request>{{17, 2 * 512 + 110 * 3, {0x10, 0x20, 0x30}}}));
    EXPECT_NE(cli("lighting --per-key --profile 3").out.find("\n  Fn 102030\n"), std::string::npos);
    EXPECT_EQ(cli("key-colour G4 FFFFFF", "TARVENOR_SIM_FAULT='status-ff'").exit_code, 4);
}

} // namespace
} // namespace tarvenor::testing
