#include "model/atomic_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvenor {
namespace {

class AtomicFile : public testing::TempDirTest {
protected:
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_),
                                                      std::filesystem::directory_iterator()));
    }
    static mode_t mode_of(const std::filesystem::path& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0);
        return info.st_mode & 07777;
    }
};

TEST_F(AtomicFile, ReplacesTheContentAndLeavesNoTemporary) {
    const auto path = write("wskb.ini", "old");
    ASSERT_TRUE(write_file_atomically(path, "new content"));
    EXPECT_EQ(slurp(path), "new content");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFile, AMissingFolderGivesTheSystemsReason) {
    const FileWriteResult result = write_file_atomically(dir_ / "no" / "file.tvp", "x");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason(),
              std::make_error_code(std::errc::no_such_file_or_directory).message());
}

TEST_F(AtomicFile, TargetsThatAreNotRegularFilesAreLeftAlone) {
    const auto fifo = dir_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(dir_ / "folder");
    for (const auto& target : {fifo, dir_ / "folder"}) {
        const FileWriteResult result = write_file_atomically(target, "x");
        EXPECT_EQ(result.failure, FileWriteResult::Failure::NotRegularFile) << target;
        EXPECT_EQ(result.reason(), "is not a regular file");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "folder"));
    EXPECT_EQ(entries(), 2u);
}

TEST_F(AtomicFile, SymbolicLinksAreWrittenThroughToTheirTarget) {
    const auto target = write("target.tvp", "old");
    std::filesystem::create_directory(dir_ / "links");
    std::filesystem::create_symlink("../target.tvp", dir_ / "links" / "relative");
    std::filesystem::create_symlink(dir_ / "links" / "relative", dir_ / "chain");
    ASSERT_TRUE(write_file_atomically(dir_ / "chain", "through two links"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "chain"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "links" / "relative"));
    EXPECT_EQ(slurp(target), "through two links");

    std::filesystem::create_symlink("new.tvp", dir_ / "dangling");
    ASSERT_TRUE(write_file_atomically(dir_ / "dangling", "created"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "dangling"));
    EXPECT_EQ(slurp(dir_ / "new.tvp"), "created");

    std::filesystem::create_symlink("loop", dir_ / "loop");
    EXPECT_FALSE(write_file_atomically(dir_ / "loop", "x"));
}

TEST_F(AtomicFile, ReadOnlyTargetsAreRefusedEvenForRoot) {
    const auto path = write("locked.tvp", "keep");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    const FileWriteResult result = write_file_atomically(path, "x");
    EXPECT_EQ(result.failure, FileWriteResult::Failure::ReadOnly);
    EXPECT_EQ(result.reason(), "is read-only");
    EXPECT_EQ(slurp(path), "keep");
}

TEST_F(AtomicFile, TheTargetKeepsItsPermissionsAndOwner) {
    for (const mode_t mode : {0600, 0640, 0664}) {
        const auto path = write("mode.tvp", "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(write_file_atomically(path, "new"));
        EXPECT_EQ(mode_of(path), mode);
    }
    if (::geteuid() == 0) {
        const auto path = write("owned.tvp", "old");
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        ASSERT_TRUE(write_file_atomically(path, "new"));
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 65534u);
    }
}

// A save killed while it writes leaves the old file and nothing else.
TEST_F(AtomicFile, KilledSavesLeaveNoTemporaryFiles) {
    const auto path = write("big.tvp", "old");
    const std::string content(64 << 20, 'x');
    for (int run = 0; run < 5; ++run) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            [[maybe_unused]] const ssize_t told = ::write(started[1], "s", 1);
            write_file_atomically(path, content);
            ::_exit(0);
        }
        char byte = 0;
        ASSERT_EQ(::read(started[0], &byte, 1), 1);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(started[0]);
        ::close(started[1]);
        EXPECT_EQ(entries(), 1u) << "run " << run;
        const std::string now = slurp(path);
        EXPECT_TRUE(now == "old" || now == content) << "never a half-written file";
    }
}

} // namespace
} // namespace tarvenor
