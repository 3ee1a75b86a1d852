#include "atomic_file_test.h"
#include "model/atomic_file.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

using testing::AtomicFile;

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

TEST_F(AtomicFile, FoldersAreLeftAlone) {
    std::filesystem::create_directory(dir_ / "folder");
    const FileWriteResult result = write_file_atomically(dir_ / "folder", "x");
    EXPECT_EQ(result.failure, FileWriteResult::Failure::NotRegularFile);
    EXPECT_EQ(result.reason(), "is not a regular file");
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "folder"));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFile, SymbolicLinksAreWrittenThroughToTheirTarget) {
    const auto target = write("target.tvp", "old");
    std::filesystem::create_directory(dir_ / "links");
    if (std::error_code error;
        (std::filesystem::create_symlink("x", dir_ / "probe", error), error)) {
        GTEST_SKIP() << "this system makes no symbolic links: " << error.message();
    }
    std::filesystem::remove(dir_ / "probe");
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

} // namespace
} // namespace tarvenor
