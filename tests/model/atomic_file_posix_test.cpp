#include "atomic_file_test.h"
#include "model/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Fifos, permission bits, owners and killed child processes: POSIX systems only.
namespace tarvenor {
namespace {

using testing::AtomicFile;

mode_t mode_of(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

TEST_F(AtomicFile, FifosAreLeftAlone) {
    const auto fifo = dir_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const FileWriteResult result = write_file_atomically(fifo, "x");
    EXPECT_EQ(result.failure, FileWriteResult::Failure::NotRegularFile);
    EXPECT_EQ(result.reason(), "is not a regular file");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(entries(), 1u);
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
