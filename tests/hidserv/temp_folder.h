#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tarvenor::testing {

// A fresh folder under /tmp for each test, removed with everything in it afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvenor-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

} // namespace tarvenor::testing
