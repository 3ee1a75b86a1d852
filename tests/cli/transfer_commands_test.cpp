#include "cli_keyboard_test.h"
#include "model/profile_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <mutex>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace tarvenor::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Learning the keyboard: the factory key matrix (7 reports) and the parameters (1). A push of
// the profile below then sends BeginTransfer, one macro chunk and 7 chunks per profile.
constexpr int kLearnReports = 8;

// Waits, on the file's change notifications, until the traffic log holds `wanted` requests.
bool wait_for_requests(const std::filesystem::path& traffic, std::size_t wanted) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    if (watch < 0) {
        return false;
    }
    std::ofstream(traffic, std::ios::app).flush(); // the file to watch exists
    ::inotify_add_watch(watch, traffic.c_str(), IN_MODIFY);
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    bool reached = count_requests(traffic) >= wanted;
    while (!reached && Clock::now() < deadline) {
        pollfd ready{watch, POLLIN, 0};
        if (::poll(&ready, 1, 1000) > 0) {
            char events[4096];
            [[maybe_unused]] const ssize_t drained = ::read(watch, events, sizeof events);
        }
        reached = count_requests(traffic) >= wanted;
    }
    ::close(watch);
    return reached;
}

class CliTransfer : public CliKeyboardTest {
protected:
    // A profile file whose profile 2 (index 1) sends B (or another key) from the A key, with one
    // macro.
    void write_profile(const std::string& name, std::uint32_t a_sends = 0x30) {
        Configuration config;
        config.make_default_image();
        KeyAssignment b_key;
        b_key.type = static_cast<std::uint16_t>(AssignmentType::Key);
        b_key.param = a_sends;
        config.assign(flat_entry(1, 0x1E), b_key);
        MacroRecord macro;
        macro.id = 1;
        macro.name = u"m";
        macro.actions = {{100, 0x1E, MacroAction::kDown}, {0, 0x1E, MacroAction::kUp}};
        config.macros() = {macro};
        ASSERT_TRUE(save_profile_file(dir_ / name, config));
    }
    std::size_t position_of_a() {
        const auto matrix = memory("default_matrix.bin");
        for (std::size_t j = 0; j + 3 <= matrix.size(); j += 3) {
            if (matrix[j] == 2 && matrix[j + 1] == 2 && matrix[j + 2] == 0x04) {
                return j / 3;
            }
        }
        ADD_FAILURE() << "no A key in the factory matrix";
        return 0;
    }
    std::vector<std::uint8_t> code_of_a(int profile) {
        const auto profiles = memory("profiles.bin");
        const auto at = static_cast<long>(378 * profile + 3 * position_of_a());
        return {profiles.begin() + at, profiles.begin() + at + 3};
    }
    void make_mirror(const std::string& content) {
        std::filesystem::create_directories(mirror().parent_path());
        std::ofstream(mirror()) << content;
    }
};

TEST_F(CliTransfer, PushWritesEveryProfileAndThePulledFileReadsItBack) {
    write_profile("in.tvp");
    make_mirror("stale");
    const CliRun pushed = cli("push " + file("in.tvp"));
    ASSERT_EQ(pushed.exit_code, 0) << pushed.err;
    EXPECT_EQ(code_of_a(1), (std::vector<std::uint8_t>{2, 2, 0x05}));
    EXPECT_EQ(memory("macros.bin")[0], 0xAA);
    EXPECT_EQ(slurp(mirror()), slurp(dir_ / "in.tvp")) << "an existing mirror follows the keyboard";

    const CliRun pulled = cli("pull " + file("out.tvp"));
    ASSERT_EQ(pulled.exit_code, 0) << pulled.err;
    Configuration back;
    ASSERT_TRUE(load_profile_file(dir_ / "out.tvp", back));
    EXPECT_EQ(back.entry(flat_entry(1, 0x1E)).param, 0x30u);
    ASSERT_EQ(back.macros().size(), 1u);
    EXPECT_EQ(back.macros()[0].name, u"m");
}

TEST_F(CliTransfer, PushOfABadFileTouchesNeitherKeyboardNorMirror) {
    write("junk.tvp", "not a profile file");
    const CliRun junk = cli("push " + file("junk.tvp"));
    EXPECT_EQ(junk.exit_code, 1);
    EXPECT_EQ(junk.err, "tarvenor-cli: " + file("junk.tvp") + " is not a profile file\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "kb")) << "the keyboard was not touched";
    const CliRun missing = cli("push " + file("missing.tvp"));
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_EQ(missing.err, "tarvenor-cli: " + file("missing.tvp") + " does not exist\n");

    write_profile("in.tvp");
    EXPECT_EQ(cli("push " + file("in.tvp"), "TARVENOR_SIM_UNPLUGGED=1").exit_code, 3);
    EXPECT_FALSE(std::filesystem::exists(mirror().parent_path())) << "no mirror is created";
}

// A push the keyboard does not take leaves the mirror as it was: its texts live only there.
TEST_F(CliTransfer, AFailedPushLeavesTheMirror) {
    write_profile("in.tvp");
    make_mirror("the mirror before");
    cli("info");                            // creates the keyboard's memory
    poke_memory("parameters.bin", 11, {0}); // no macro memory at all
    const CliRun too_large = cli("push " + file("in.tvp"));
    EXPECT_EQ(too_large.exit_code, 4);
    EXPECT_NE(too_large.err.find("do not fit in the keyboard's memory"), std::string::npos)
        << too_large.err;
    EXPECT_EQ(too_large.err.find("then apply again"), std::string::npos) << "a window's text";
    EXPECT_EQ(slurp(mirror()), "the mirror before");

    poke_memory("parameters.bin", 11, {64});
    const CliRun refused =
        cli("push " + file("in.tvp"),
            "TARVENOR_SIM_FAULT='status-ff 3 " + std::to_string(kLearnReports + 4) + "'");
    EXPECT_EQ(refused.exit_code, 4);
    EXPECT_EQ(slurp(mirror()), "the mirror before");

    // The factory key matrix read is refused (three attempts of its first chunk).
    const CliRun no_matrix = cli("push " + file("in.tvp"), "TARVENOR_SIM_FAULT='status-ff 3'");
    EXPECT_EQ(no_matrix.exit_code, 4);
    EXPECT_NE(no_matrix.err.find("default key layout"), std::string::npos) << no_matrix.err;
    EXPECT_EQ(std::count(no_matrix.err.begin(), no_matrix.err.end(), '\n'), 1)
        << "told once: " << no_matrix.err;
}

// Begin, the macro chunk and two chunks of profile 1 pass; the third is refused three times.
TEST_F(CliTransfer, ADownloadStopsAtTheFirstFailingCommandAndSaysWhatToDo) {
    write_profile("in.tvp");
    const std::string traffic = file("traffic");
    const CliRun refused =
        cli("push " + file("in.tvp"), "TARVENOR_SIM_TRAFFIC=" + shell_quoted(traffic) +
                                          " TARVENOR_SIM_FAULT='status-ff 3 " +
                                          std::to_string(kLearnReports + 4) + "'");
    EXPECT_EQ(refused.exit_code, 4);
    EXPECT_EQ(refused.err, "tarvenor-cli: writing the keys of profile 1 failed: the keyboard "
                           "refused the command. The keyboard may now hold a partly written "
                           "configuration; push " +
                               file("in.tvp") + " again to restore it.\n");
    EXPECT_EQ(count_requests(traffic), kLearnReports + 4u + 3 + 1) << "then only EndTransfer";
    EXPECT_EQ(code_of_a(1), (std::vector<std::uint8_t>{2, 2, 0x04})) << "profile 2 not written";

    const CliRun again = cli("push " + file("in.tvp"));
    EXPECT_EQ(again.exit_code, 0) << again.err;
    EXPECT_EQ(code_of_a(1), (std::vector<std::uint8_t>{2, 2, 0x05}));
}

// A keyboard that stops answering costs one command's retries and a single attempt to close the
// transfer, not the retries of every command left (about 30 of them, three seconds each), nor a
// wait for answers that will never come.
TEST_F(CliTransfer, AKeyboardThatStopsAnsweringEndsTheDownloadQuickly) {
    write_profile("in.tvp");
    const std::string traffic = file("traffic");
    const auto began = Clock::now();
    const CliRun dead =
        cli("push " + file("in.tvp"), "TARVENOR_SIM_TRAFFIC=" + shell_quoted(traffic) +
                                          " TARVENOR_SIM_FAULT='no-answer 1000 " +
                                          std::to_string(kLearnReports + 2) + "'");
    const auto took = Clock::now() - began;
    EXPECT_EQ(dead.exit_code, 4);
    EXPECT_NE(dead.err.find("writing the keys of profile 1 failed: the keyboard did not answer"),
              std::string::npos)
        << dead.err;
    EXPECT_EQ(count_requests(traffic), kLearnReports + 2u + 3 + 1)
        << "three attempts of the dead command, one of EndTransfer, nothing more";
    // Four answer waits of a second; waiting for the unanswered reports would add two or more.
    EXPECT_LT(took, std::chrono::milliseconds(5500));
}

TEST_F(CliTransfer, AKeyboardUnpluggedDuringAPushMeansNoKeyboard) {
    write_profile("in.tvp");
    const std::string traffic = file("traffic");
    // The keyboard stops answering in the middle of profile 1; it is unplugged meanwhile.
    auto push = std::async(std::launch::async, [&] {
        return cli("push " + file("in.tvp"), "TARVENOR_SIM_TRAFFIC=" + shell_quoted(traffic) +
                                                 " TARVENOR_SIM_FAULT='no-answer 1000 " +
                                                 std::to_string(kLearnReports + 4) + "'");
    });
    ASSERT_TRUE(wait_for_requests(traffic, kLearnReports + 5));
    const std::string unplug = shell_quoted(TARVENOR_SIMCTL) + " unplug >/dev/null";
    EXPECT_EQ(std::system(("TARVENOR_SIM_DIR=" + shell_quoted(dir_ / "kb") + " " + unplug).c_str()),
              0);
    const CliRun unplugged = push.get();
    EXPECT_EQ(unplugged.exit_code, 3) << unplugged.err;
    EXPECT_NE(unplugged.err.find("the keyboard was unplugged. The keyboard may now hold a partly "
                                 "written configuration"),
              std::string::npos)
        << unplugged.err;
}

// Two programs pushing different files at once: a slow push is overtaken by a fast one started
// while it is half-way. Without the keyboard lock the fast push's chunks land between the slow
// one's and the keyboard holds a mixture; with it the fast push waits, each push stays whole, and
// both say they did their push.
TEST_F(CliTransfer, TwoPushesAtOnceLeaveTheKeyboardHoldingOneWholeFile) {
    write_profile("b.tvp", 0x30);
    write_profile("c.tvp", 0x2E);
    const auto pushed_alone = [&](const std::string& name) {
        EXPECT_EQ(cli("push " + file(name)).exit_code, 0);
        return std::make_pair(memory("profiles.bin"), memory("macros.bin"));
    };
    const auto holding_b = pushed_alone("b.tvp");
    const auto holding_c = pushed_alone("c.tvp");
    ASSERT_NE(holding_b, holding_c);
    for (int run = 0; run < 3; ++run) {
        const std::string traffic = file("traffic" + std::to_string(run));
        auto slow = std::async(std::launch::async, [&] {
            return cli("push " + file("b.tvp"),
                       "TARVENOR_SIM_LATENCY_MS=5 TARVENOR_SIM_TRAFFIC=" + shell_quoted(traffic));
        });
        ASSERT_TRUE(wait_for_requests(traffic, kLearnReports + 4)) << "the slow push began";
        const CliRun fast = cli("push " + file("c.tvp"));
        const CliRun slow_run = slow.get();
        EXPECT_EQ(slow_run.exit_code, 0) << slow_run.err;
        EXPECT_EQ(fast.exit_code, 0) << fast.err;
        const auto holding = std::make_pair(memory("profiles.bin"), memory("macros.bin"));
        EXPECT_TRUE(holding == holding_c) << "run " << run << ": the keyboard holds a mixture";
    }
}

TEST_F(CliTransfer, PullExitCodesAndAFailedPullKeepsTheOldFile) {
    write("old.tvp", "old");
    // Factory matrix (7 reports) and parameters pass, the first profile block is refused.
    const CliRun refused = cli("pull " + file("old.tvp"), "TARVENOR_SIM_FAULT='status-ff 3 8'");
    EXPECT_EQ(refused.exit_code, 4);
    EXPECT_NE(refused.err.find("could not be read"), std::string::npos) << refused.err;
    EXPECT_EQ(slurp(dir_ / "old.tvp"), "old");

    const CliRun no_folder = cli("pull " + file("no/such/folder.tvp"));
    EXPECT_EQ(no_folder.exit_code, 2);
    EXPECT_NE(no_folder.err.find("No such file or directory"), std::string::npos) << no_folder.err;
    EXPECT_EQ(cli("pull " + file("x.tvp"), "TARVENOR_SIM_UNPLUGGED=1").exit_code, 3);

    poke_memory("parameters.bin", 10, {3}); // names no profile
    EXPECT_EQ(cli("pull " + file("x.tvp")).exit_code, 4);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "x.tvp"));
}

} // namespace
} // namespace tarvenor::testing
