#include "cli_runner.h"
#include "model/profile_file.h"
#include "sim_fixture.h"

#include <fstream>
#include <mutex>

namespace tarvenor::testing {
namespace {

std::string read_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// tarvenor-cli pull and push in a child process, against a virtual keyboard whose memory the
// test reads and pokes through the fixture.
class CliTransferTest : public SimKeyboardTest {
protected:
    CliRun cli(const std::string& arguments, const std::string& environment = "") {
        return run_cli(folder_, arguments,
                       "TARVENOR_HIDSERV='" + std::string(TARVENOR_SIM_LIBRARY) +
                           "' TARVENOR_SIM_DIR='" + (folder_ / "memory").string() +
                           "' TARVENOR_USER_DIR='" + folder_.string() + "' " + environment);
    }
    std::string file(const std::string& name) const { return (folder_ / name).string(); }

    // A profile file whose profile 1 sends B from the A key, with one macro.
    void write_profile(const std::string& name) {
        Configuration config;
        std::scoped_lock guard(config.lock());
        config.make_default_image();
        KeyAssignment b_key;
        b_key.type = static_cast<std::uint16_t>(AssignmentType::Key);
        b_key.param = 0x30;
        config.assign(flat_entry(1, 0x1E), b_key);
        MacroRecord macro;
        macro.id = 1;
        macro.name = u"m";
        macro.actions = {{100, 0x1E, MacroAction::kDown}, {0, 0x1E, MacroAction::kUp}};
        config.macros() = {macro};
        ASSERT_TRUE(save_profile_file(folder_ / name, config, false));
    }
    std::size_t position_of_a() const {
        const Bytes matrix = memory("default_matrix.bin");
        for (std::size_t j = 0; j + 3 <= matrix.size(); j += 3) {
            if (matrix[j] == 2 && matrix[j + 1] == 2 && matrix[j + 2] == 0x04) {
                return j / 3;
            }
        }
        ADD_FAILURE() << "no A key in the factory matrix";
        return 0;
    }
};

TEST_F(CliTransferTest, PushWritesEveryProfileAndThePulledFileReadsItBack) {
    write_profile("in.tvp");
    std::filesystem::create_directories(folder_ / "Tarvenor_R4X");
    std::ofstream(folder_ / "Tarvenor_R4X" / "$Profile0") << "stale";
    const CliRun pushed = cli("push " + file("in.tvp"));
    ASSERT_EQ(pushed.exit_code, 0) << pushed.err;
    const Bytes profiles = memory("profiles.bin");
    const std::size_t a = 378 + 3 * position_of_a();
    EXPECT_EQ(
        Bytes(profiles.begin() + static_cast<long>(a), profiles.begin() + static_cast<long>(a + 3)),
        (Bytes{2, 2, 0x05}));
    EXPECT_EQ(memory("macros.bin")[0], 0xAA);
    EXPECT_EQ(read_text(folder_ / "Tarvenor_R4X" / "$Profile0"), read_text(folder_ / "in.tvp"))
        << "an existing mirror follows the keyboard";

    const CliRun pulled = cli("pull " + file("out.tvp"));
    ASSERT_EQ(pulled.exit_code, 0) << pulled.err;
    Configuration back;
    std::scoped_lock guard(back.lock());
    ASSERT_TRUE(load_profile_file(folder_ / "out.tvp", back));
    EXPECT_EQ(back.entry(flat_entry(1, 0x1E)).param, 0x30u);
    ASSERT_EQ(back.macros().size(), 1u);
    EXPECT_EQ(back.macros()[0].name, u"m");
}

TEST_F(CliTransferTest, PushExitCodes) {
    std::ofstream(folder_ / "junk.tvp") << "not a profile file";
    const CliRun junk = cli("push " + file("junk.tvp"));
    EXPECT_EQ(junk.exit_code, 1);
    EXPECT_NE(junk.err.find("junk.tvp"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "memory")) << "the keyboard was not touched";
    EXPECT_EQ(cli("push " + file("missing.tvp")).exit_code, 1);
    EXPECT_EQ(cli("push").exit_code, 1);

    write_profile("in.tvp");
    EXPECT_EQ(cli("push " + file("in.tvp"), "TARVENOR_SIM_UNPLUGGED=1").exit_code, 3);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "Tarvenor_R4X")) << "no mirror is created";

    poke_memory("parameters.bin", 11, {0}); // no macro memory at all
    const CliRun too_large = cli("push " + file("in.tvp"));
    EXPECT_EQ(too_large.exit_code, 4);
    EXPECT_NE(too_large.err.find("do not fit in the keyboard's memory"), std::string::npos)
        << too_large.err;
    // The push's own factory key matrix read is refused (three attempts of its first chunk),
    // after the session's reads on arrival (7 + 1).
    const CliRun no_matrix = cli("push " + file("in.tvp"), "TARVENOR_SIM_FAULT='status-ff 3 8'");
    EXPECT_EQ(no_matrix.exit_code, 4);
    EXPECT_NE(no_matrix.err.find("default key layout"), std::string::npos) << no_matrix.err;
}

TEST_F(CliTransferTest, PullExitCodesAndAFailedPullKeepsTheOldFile) {
    std::ofstream(folder_ / "old.tvp") << "old";
    // Factory matrix (7 reports) and parameters pass, on arrival and in the pull's own reads; the
    // first profile block is refused.
    const CliRun refused = cli("pull " + file("old.tvp"), "TARVENOR_SIM_FAULT='status-ff 3 16'");
    EXPECT_EQ(refused.exit_code, 4);
    EXPECT_NE(refused.err.find("could not be read"), std::string::npos) << refused.err;
    EXPECT_EQ(read_text(folder_ / "old.tvp"), "old");

    EXPECT_EQ(cli("pull " + file("no/such/folder.tvp")).exit_code, 2);
    EXPECT_EQ(cli("pull " + file("x.tvp"), "TARVENOR_SIM_UNPLUGGED=1").exit_code, 3);
    EXPECT_EQ(cli("pull a b").exit_code, 1);

    poke_memory("parameters.bin", 10, {3}); // names no profile
    EXPECT_EQ(cli("pull " + file("x.tvp")).exit_code, 4);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "x.tvp"));
}

} // namespace
} // namespace tarvenor::testing
