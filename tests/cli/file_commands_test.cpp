#include "cli_runner.h"
#include "model/profile_file.h"
#include "model_builders.h"
#include "temp_dir.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

using testing::assignment;
using testing::CliRun;
using testing::macro;

class FileCommands : public testing::TempDirTest {
protected:
    CliRun cli(const std::string& arguments) { return testing::run_cli(dir_, arguments); }
    std::string file(const char* name) const { return (dir_ / name).string(); }

    // A file using every kind of entry the JSON must describe.
    std::string sample_file() {
        Configuration config;
        config.make_default_image();
        config.assign(flat_entry(0, 0x1E), assignment(AssignmentType::Key, 0x030));
        config.assign(flat_entry(1, 0x30), assignment(AssignmentType::TextBlock));
        config.texts().set(flat_entry(1, 0x30), u"say \"hi\"\n");
        config.assign(flat_entry(2, 0x10), assignment(AssignmentType::Macro, 7));
        config.assign(flat_entry(3, 5), KeyAssignment{5, 0, 1, 0x1234, 0});
        config.assign(flat_entry(0, 0x30), assignment(AssignmentType::Media, 6));
        MacroRecord m = macro(7, u"Seven", 2);
        m.play_mode = 2;
        config.macros() = {m};
        const std::string path = file("sample.tvp");
        EXPECT_TRUE(save_profile_file(path, config));
        return path;
    }
};

TEST_F(FileCommands, ValidateExitCodes) {
    EXPECT_EQ(cli("new " + file("a.tvp")).exit_code, 0);
    EXPECT_EQ(cli("validate " + file("a.tvp")).exit_code, 0);
    EXPECT_EQ(cli("validate " + file("missing.tvp")).exit_code, 1);
    write("small.tvp", std::string(100, '\0'));
    EXPECT_EQ(cli("validate " + file("small.tvp")).exit_code, 1);

    std::string bytes = slurp(dir_ / "a.tvp");
    bytes[31] = static_cast<char>(bytes[31] + 1);
    write("bad.tvp", bytes);
    const CliRun bad = cli("validate " + file("bad.tvp"));
    EXPECT_EQ(bad.exit_code, 1);
    EXPECT_EQ(bad.err, "tarvenor-cli: " + file("bad.tvp") + " is not a profile file\n");
    EXPECT_EQ(cli("validate").exit_code, 1);
    EXPECT_EQ(cli("new " + file("no/such/folder.tvp")).exit_code, 2);
}

// The header's checksum covers the header only: a body with a type the program does not know
// is found by looking at every entry, and the key it belongs to is named.
TEST_F(FileCommands, ValidateNamesTheKeyOfADamagedEntry) {
    Configuration config;
    config.make_default_image();
    config.assign(flat_entry(1, 0x1E), KeyAssignment{58171, 0, 0, 0, 0});
    ASSERT_TRUE(save_profile_file(file("damaged.tvp"), config));
    const CliRun damaged = cli("validate " + file("damaged.tvp"));
    EXPECT_EQ(damaged.exit_code, 1);
    EXPECT_EQ(damaged.err, "tarvenor-cli: The profile file " + file("damaged.tvp") +
                               " is damaged: the key A of profile 2 holds a function of type "
                               "58171, which the program does not know.\n");
    EXPECT_TRUE(damaged.out.empty());

    write("out.tvp", "keep me");
    EXPECT_EQ(cli("resave " + file("damaged.tvp") + " " + file("out.tvp")).exit_code, 1);
    EXPECT_EQ(slurp(dir_ / "out.tvp"), "keep me");

    config.assign(flat_entry(1, 0x1E), assignment(AssignmentType::Function, 10));
    ASSERT_TRUE(save_profile_file(file("sound.tvp"), config));
    EXPECT_EQ(cli("validate " + file("sound.tvp")).exit_code, 0);
}

TEST_F(FileCommands, ResaveRepacksAndLeavesOutputAloneOnBadInput) {
    write("bad.tvp", std::string(40000, '\x01'));
    write("out.tvp", "keep me");
    EXPECT_EQ(cli("resave " + file("bad.tvp") + " " + file("out.tvp")).exit_code, 1);
    EXPECT_EQ(slurp(dir_ / "out.tvp"), "keep me");

    const std::string sample = sample_file();
    ASSERT_EQ(cli("resave " + sample + " " + file("out.tvp")).exit_code, 0);
    EXPECT_EQ(slurp(dir_ / "out.tvp"), slurp(sample));
}

// Saving replaces a file's content only: a link stays a link, the permissions stay.
TEST_F(FileCommands, ResaveWritesThroughALinkAndKeepsThePermissions) {
    const std::string sample = sample_file();
    write("private.tvp", "old");
    ::chmod((dir_ / "private.tvp").c_str(), 0600);
    std::filesystem::create_symlink("private.tvp", dir_ / "link.tvp");
    const CliRun run = cli("resave " + sample + " " + file("link.tvp"));
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.tvp"));
    EXPECT_EQ(slurp(dir_ / "private.tvp"), slurp(sample));
    EXPECT_EQ(std::filesystem::status(dir_ / "private.tvp").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// Text-block keys without a text once pointed into the text area and each resave picked up one
// more copy of the text there.
TEST_F(FileCommands, ResaveIsStable) {
    Configuration config;
    config.make_default_image();
    config.assign(flat_entry(0, 0x10), assignment(AssignmentType::TextBlock));
    config.texts().set(flat_entry(0, 0x10), u"");
    for (const int slot : {0x11, 0x12, 0x13}) {
        config.assign(flat_entry(0, slot), assignment(AssignmentType::TextBlock));
    }
    ASSERT_TRUE(save_profile_file(dir_ / "empty-texts.tvp", config));
    std::string before = slurp(dir_ / "empty-texts.tvp");
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(
            cli("resave " + file("empty-texts.tvp") + " " + file("empty-texts.tvp")).exit_code, 0);
        const std::string after = slurp(dir_ / "empty-texts.tvp");
        EXPECT_EQ(after.size(), before.size()) << "round " << round;
        EXPECT_EQ(after, before) << "round " << round;
        before = after;
    }
}

TEST_F(FileCommands, JsonDescribesEveryEntryAndMacro) {
    const CliRun run = cli("dump " + sample_file() + " --json");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const std::string& json = run.out;
    EXPECT_EQ(json.front(), '{');
    EXPECT_NE(json.find("\"macro_count\":1,\"text_size\":20"), std::string::npos) << json;
    EXPECT_NE(json.find("{\"table\":0,\"slot\":30,\"type\":\"Key\",\"aux_code\":0,\"param\":48,"
                        "\"colour_key_flag\":0,\"text\":null}"),
              std::string::npos);
    EXPECT_NE(json.find("\"type\":\"TextBlock\",\"aux_code\":0,\"param\":0,\"colour_key_flag\":0,"
                        "\"text\":\"say \\\"hi\\\"\\n\"}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"table\":3,\"slot\":5,\"type\":\"StopMacro\",\"aux_code\":0,"
                        "\"param\":1,\"colour_key_flag\":4660,"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"id\":7,\"name\":\"Seven\",\"cycles\":1,\"play_mode\":2,\"actions\":["
                        "{\"delay\":0,\"key\":30,\"direction\":\"down\"},"
                        "{\"delay\":10,\"key\":30,\"direction\":\"up\"}]}"),
              std::string::npos);
}

TEST_F(FileCommands, ListingShowsCaptionsTextsAndActions) {
    const CliRun run = cli("dump " + sample_file());
    ASSERT_EQ(run.exit_code, 0) << run.err;
    // Captions come from the language file beside the program, as in the windows.
    EXPECT_NE(run.out.find("\"A  set to: Key (B)\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Q  set to: Macro (Seven)\""), std::string::npos);
    EXPECT_NE(run.out.find("\"B  set to: Media (Volume Up)\""), std::string::npos);
    // Texts and names holding quotes or line breaks are escaped, one entry per line.
    EXPECT_NE(run.out.find("text \"say \\\"hi\\\"\\n\"\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("A ↑ 10 ms"), std::string::npos);
    EXPECT_EQ(cli("dump " + file("missing.tvp")).exit_code, 1);
}

} // namespace
} // namespace tarvenor
