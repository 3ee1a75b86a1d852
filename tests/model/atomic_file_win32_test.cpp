#include "atomic_file_test.h"
#include "model/atomic_file.h"

#include <gtest/gtest.h>

#include <windows.h>

// File attributes stand in for permission bits on Windows.
namespace tarvenor {
namespace {

using testing::AtomicFile;

TEST_F(AtomicFile, TheTargetKeepsItsAttributes) {
    const auto path = write("hidden.tvp", "old");
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(write_file_atomically(path, "new"));
    EXPECT_EQ(slurp(path), "new");
    EXPECT_NE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFile, ANewFileIsAnOrdinaryOne) {
    const auto path = dir_ / "new.tvp";
    ASSERT_TRUE(write_file_atomically(path, "new"));
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY), 0u);
}

} // namespace
} // namespace tarvenor
