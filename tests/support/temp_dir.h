#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace tarvenor::testing {

// A fresh folder of its own per test (parallel runs never share one), removed afterwards.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string suite =
            ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
        std::replace(suite.begin(), suite.end(), '/', '-'); // parameterised suites
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("tarvenor-" + suite + "-XXXXXX")).string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::filesystem::path write(std::string_view name, std::string_view bytes) const {
        const auto path = dir_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static std::string slurp(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir_;
};

} // namespace tarvenor::testing
