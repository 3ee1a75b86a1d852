#include "model/program_files.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

namespace fs = std::filesystem;

class ProgramFilesTest : public testing::TempDirTest {
protected:
    const InstalledLayout installed_{"../lib/x86_64-linux-gnu/tarvenor", "../share/tarvenor"};

    fs::path make_folder(const fs::path& relative) const {
        fs::create_directories(dir_ / relative);
        return dir_ / relative;
    }
};

TEST_F(ProgramFilesTest, BuildFolderKeepsEverythingBesideTheExecutable) {
    const fs::path bin = make_folder("build/bin");
    make_folder("build/bin/Skins");

    const ProgramFiles files = locate_program_files(bin / "tarvenor", installed_);

    EXPECT_EQ(files.layout, ProgramFiles::Layout::Build);
    EXPECT_EQ(files.executable_folder, bin);
    EXPECT_EQ(files.library_folder, bin);
    EXPECT_EQ(files.skins, bin / "Skins");
    EXPECT_EQ(files.language, bin / "Skins" / "language.ini");
    EXPECT_EQ(files.help, bin / "Help" / "index.html");
    EXPECT_EQ(files.companion, bin / "KbDaemon");
}

TEST_F(ProgramFilesTest, InstalledTreeFindsLibrariesAndDataFromItsOwnPlace) {
    // Anywhere: the prefix is not compiled in, so a moved tree still finds its files.
    const fs::path prefix = make_folder("opt/moved");
    make_folder("opt/moved/bin");
    make_folder("opt/moved/share/tarvenor/Skins");

    const ProgramFiles files = locate_program_files(prefix / "bin" / "tarvenor-cli", installed_);

    EXPECT_EQ(files.layout, ProgramFiles::Layout::Installed);
    EXPECT_EQ(files.executable_folder, prefix / "bin");
    EXPECT_EQ(files.library_folder, prefix / "lib" / "x86_64-linux-gnu" / "tarvenor");
    EXPECT_EQ(files.data_folder, prefix / "share" / "tarvenor");
    EXPECT_EQ(files.language, prefix / "share" / "tarvenor" / "Skins" / "language.ini");
    EXPECT_EQ(files.help, prefix / "share" / "tarvenor" / "Help" / "index.html");
    EXPECT_EQ(files.companion, prefix / "lib" / "x86_64-linux-gnu" / "tarvenor" / "KbDaemon");
}

TEST_F(ProgramFilesTest, SkinBesideTheExecutableWinsOverAnInstalledTreeAround) {
    // A build folder inside a prefix (or bin/ beside share/) is still run from its own files.
    make_folder("usr/bin/Skins");
    make_folder("usr/share/tarvenor/Skins");

    const ProgramFiles files = locate_program_files(dir_ / "usr/bin/tarvenor", installed_);

    EXPECT_EQ(files.layout, ProgramFiles::Layout::Build);
    EXPECT_EQ(files.skins, dir_ / "usr/bin/Skins");
}

TEST_F(ProgramFilesTest, NeitherLayoutPresentNamesTheFilesBesideTheExecutable) {
    const fs::path bin = make_folder("empty/bin");

    const ProgramFiles files = locate_program_files(bin / "tarvenor", installed_);

    EXPECT_EQ(files.layout, ProgramFiles::Layout::Build);
    EXPECT_EQ(files.language, bin / "Skins" / "language.ini");
}

TEST_F(ProgramFilesTest, AFileWhereTheDataFolderShouldBeIsNotAnInstalledTree) {
    make_folder("usr/bin");
    make_folder("usr/share");
    write("usr/share/tarvenor", "not a folder");

    const ProgramFiles files = locate_program_files(dir_ / "usr/bin/tarvenor", installed_);

    EXPECT_EQ(files.layout, ProgramFiles::Layout::Build);
}

TEST(InstalledLayout, IsRelativeToTheExecutables) {
    const InstalledLayout layout = installed_layout();
    EXPECT_TRUE(layout.library_folder.is_relative());
    EXPECT_TRUE(layout.data_folder.is_relative());
    EXPECT_EQ(layout.data_folder.filename(), "tarvenor");
    EXPECT_EQ(layout.library_folder.filename(), "tarvenor");
}

TEST(RunningProgramFiles, StartFromThisTestProgramsOwnFolder) {
    const fs::path executable = running_executable();
    ASSERT_TRUE(executable.is_absolute());
    EXPECT_EQ(running_program_files().executable_folder, executable.parent_path());
}

} // namespace
} // namespace tarvenor
