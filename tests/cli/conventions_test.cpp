#include "cli_keyboard_test.h"

#include <gtest/gtest.h>

namespace tarvenor::testing {
namespace {

// One command line, what it must print and whether it leaves a file behind.
struct Convention {
    const char* arguments; // FOLDER stands for the test's folder
    int exit_code;
    const char* in_out;  // text standard output must hold ("" = empty)
    const char* in_err;  // text standard error must hold ("" = empty)
    const char* created; // a file the command must create, or nullptr
    const char* absent;  // a file the command must not create, or nullptr
};

const Convention kConventions[] = {
    // --help on every command prints its usage and does nothing.
    {"new --help", 0, "Usage: tarvenor-cli new [OPTIONS] FILE", "", nullptr, "--help"},
    {"new -h", 0, "Usage: tarvenor-cli new", "", nullptr, "-h"},
    {"pull -h", 0, "Usage: tarvenor-cli pull", "", nullptr, "-h"},
    {"push --help", 0, "Usage: tarvenor-cli push", "", nullptr, nullptr},
    {"resave --help FOLDER/a.tvp FOLDER/b.tvp", 0, "Usage: tarvenor-cli resave", "", nullptr,
     "b.tvp"},
    {"dump -h", 0, "--json", "", nullptr, nullptr},
    {"validate --help", 0, "Usage: tarvenor-cli validate", "", nullptr, nullptr},
    {"info --help", 0, "Usage: tarvenor-cli info", "", nullptr, nullptr},
    {"profile --help", 0, "Usage: tarvenor-cli profile", "", nullptr, nullptr},
    {"--help", 0, "Subcommands:", "", nullptr, nullptr},
    {"--version", 0, "tarvenor-cli 0.", "", nullptr, nullptr},
    // Options anywhere, and -- ends them.
    {"dump --json FOLDER/a.tvp", 0, "{\"header\":{", "", nullptr, nullptr},
    {"dump FOLDER/a.tvp --json", 0, "{\"header\":{", "", nullptr, nullptr},
    {"new -- FOLDER/--help", 0, "", "", "--help", nullptr},
    {"validate -- FOLDER/a.tvp", 0, "", "", nullptr, nullptr},
    {"info --json --verbose", 0, "{\"keyboards\":1", "", nullptr, nullptr},
    // Usage errors: exit 1, nothing done.
    {"", 1, "", "A subcommand is required", nullptr, nullptr},
    {"frobnicate", 1, "", "unknown command 'frobnicate'", nullptr, nullptr},
    {"new", 1, "", "FILE is required", nullptr, nullptr},
    {"new FOLDER/x.tvp FOLDER/y.tvp", 1, "", "not expected", nullptr, "x.tvp"},
    {"dump --xml FOLDER/a.tvp", 1, "", "--xml", nullptr, nullptr},
    {"profile 0", 1, "", "not in range 1 to 3", nullptr, nullptr},
    {"profile 4", 1, "", "not in range 1 to 3", nullptr, nullptr},
    {"profile x", 1, "", "not in range 1 to 3", nullptr, nullptr},
    {"profile 1 2", 1, "", "not expected: 2", nullptr, nullptr},
    {"info --xml", 1, "", "--xml", nullptr, nullptr},
    // Messages in the user's words.
    {"validate FOLDER/missing.tvp", 1, "", "missing.tvp does not exist", nullptr, nullptr},
    {"dump FOLDER/missing.tvp", 1, "", "missing.tvp does not exist", nullptr, nullptr},
    {"validate FOLDER", 1, "", "is not a regular file", nullptr, nullptr},
    {"new FOLDER/no/such.tvp", 2, "", "cannot write FOLDER/no/such.tvp: No such file or directory",
     nullptr, nullptr},
    {"resave FOLDER/a.tvp FOLDER", 2, "", "is not a regular file", nullptr, nullptr},
    {"resave FOLDER/a.tvp FOLDER/locked.tvp", 2, "", "locked.tvp is read-only", nullptr, nullptr},
};

void PrintTo(const Convention& convention, std::ostream* out) {
    *out << "tarvenor-cli " << convention.arguments;
}

class CliConventions : public CliKeyboardTest, public ::testing::WithParamInterface<Convention> {
protected:
    std::string in_folder(std::string text) const {
        for (std::size_t at; (at = text.find("FOLDER")) != std::string::npos;) {
            text.replace(at, 6, dir_.string());
        }
        return text;
    }
};

TEST_P(CliConventions, ExitCodeOutputAndFiles) {
    const Convention& c = GetParam();
    ASSERT_EQ(cli("new " + file("a.tvp")).exit_code, 0);
    write("locked.tvp", "locked");
    std::filesystem::permissions(dir_ / "locked.tvp", std::filesystem::perms::owner_read);

    const CliRun run = cli(in_folder(c.arguments));
    EXPECT_EQ(run.exit_code, c.exit_code) << run.err;
    EXPECT_NE(run.out.find(c.in_out), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(in_folder(c.in_err)), std::string::npos) << run.err;
    if (*c.in_out == '\0') {
        EXPECT_EQ(run.out, "");
    }
    if (*c.in_err == '\0') {
        EXPECT_EQ(run.err, "");
    }
    if (c.created) {
        EXPECT_TRUE(std::filesystem::exists(dir_ / c.created)) << c.created;
    }
    if (c.absent) {
        EXPECT_FALSE(std::filesystem::exists(dir_ / c.absent)) << c.absent;
        EXPECT_FALSE(std::filesystem::exists(c.absent)) << "nothing in the working folder";
    }
    EXPECT_EQ(slurp(dir_ / "locked.tvp"), "locked");
}

INSTANTIATE_TEST_SUITE_P(Table, CliConventions, ::testing::ValuesIn(kConventions));

// A build folder's command line keeps the service libraries beside it (the installed one is
// checked by the install test).
TEST_F(CliKeyboardTest, HelpNamesTheServiceLibrariesOfThisCopy) {
    const CliRun help = cli("--help");
    ASSERT_EQ(help.exit_code, 0);
    const std::filesystem::path folder = std::filesystem::path(TARVENOR_CLI).parent_path();
    for (const char* library : {"libHidServ.so", "libHidServSim.so"}) {
        EXPECT_NE(help.out.find("\n  " + (folder / library).string() + "\n"), std::string::npos)
            << help.out;
    }
}

// Output that cannot be written is a failure with a message, not success.
TEST_F(CliKeyboardTest, OutputThatCannotBeWrittenIsExit2) {
    ASSERT_EQ(cli("new " + file("a.tvp")).exit_code, 0);
    for (const std::string& arguments : {"dump --json " + file("a.tvp"), "dump " + file("a.tvp"),
                                         std::string("info --json"), std::string("--help")}) {
        const CliRun run = run_cli(dir_, arguments,
                                   "TARVENOR_HIDSERV=" + shell_quoted(TARVENOR_SIM_LIBRARY) +
                                       " TARVENOR_SIM_DIR=" + shell_quoted(dir_ / "kb"),
                                   "/dev/full");
        EXPECT_EQ(run.exit_code, 2) << arguments;
        EXPECT_EQ(run.err, "tarvenor-cli: cannot write the output: No space left on device\n")
            << arguments;
    }
}

} // namespace
} // namespace tarvenor::testing
