#include "cli_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using tarvenor::testing::CliRun;

// Runs tarvenor-cli against a virtual keyboard whose memory lives in a fresh folder.
class CliDeviceCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvenor-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    CliRun run(const std::string& arguments, const std::string& environment = "",
               const std::string& library = TARVENOR_SIM_LIBRARY) {
        return tarvenor::testing::run_cli(folder_, arguments,
                                          "TARVENOR_HIDSERV='" + library + "' TARVENOR_SIM_DIR='" +
                                              (folder_ / "kb").string() + "' " + environment);
    }
    std::string slurp(const std::string& name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void poke_parameter(std::size_t offset, char value) {
        std::fstream file(folder_ / "kb" / "parameters.bin",
                          std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>(offset));
        file.put(value);
    }

    std::filesystem::path folder_;
};

TEST_F(CliDeviceCommandsTest, InfoDescribesTheKeyboardAsTextAndJson) {
    const CliRun text = run("info");
    EXPECT_EQ(text.exit_code, 0) << text.err;
    EXPECT_EQ(text.out, "Keyboards connected: 1\nActive profile: 1\nMacro space: 8192 bytes\n"
                        "Effects: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 20\n");
    poke_parameter(11, 2);
    const CliRun json = run("info --json");
    EXPECT_EQ(json.exit_code, 0) << json.err;
    EXPECT_EQ(json.out, "{\"keyboards\": 1, \"active_profile\": 1, \"macro_space\": 256, "
                        "\"effects\": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, "
                        "18, 20]}\n");
}

TEST_F(CliDeviceCommandsTest, ProfileIsSwitchedOnTheKeyboardAndReadBack) {
    EXPECT_EQ(run("profile 3").exit_code, 0);
    EXPECT_EQ(slurp("kb/parameters.bin")[10], 2);
    const CliRun shown = run("profile");
    EXPECT_EQ(shown.exit_code, 0);
    EXPECT_EQ(shown.out, "3\n");
    EXPECT_NE(run("info --json").out.find("\"active_profile\": 3"), std::string::npos);
}

TEST_F(CliDeviceCommandsTest, KeyboardNamingNoValidProfile) {
    run("info"); // creates the memory files
    poke_parameter(10, 7);
    EXPECT_NE(run("info --json").out.find("\"active_profile\": null"), std::string::npos);
    EXPECT_EQ(run("profile").exit_code, 4);
}

TEST_F(CliDeviceCommandsTest, ExitCodes) {
    for (const char* bad :
         {"profile 0", "profile 4", "profile x", "profile 1 2", "info --xml", "frobnicate", ""}) {
        EXPECT_EQ(run(bad).exit_code, 1) << bad;
    }
    EXPECT_EQ(run("--help").exit_code, 0);
    EXPECT_EQ(run("info", "TARVENOR_SIM_UNPLUGGED=1").exit_code, 3);
    EXPECT_EQ(run("profile 2", "TARVENOR_SIM_UNPLUGGED=1").exit_code, 3);
    // After the reads on arrival (factory key matrix: 7, parameters: 1) and the switch's read.
    EXPECT_EQ(run("profile 2", "TARVENOR_SIM_FAULT='status-ff 3 9'").exit_code, 4);
    EXPECT_EQ(slurp("kb/parameters.bin")[10], 0) << "the refused write changed nothing";
    const CliRun missing = run("info", "", "/nonexistent/libHidServ.so");
    EXPECT_EQ(missing.exit_code, 5);
    EXPECT_NE(missing.err.find("/nonexistent/libHidServ.so"), std::string::npos);
}

} // namespace
