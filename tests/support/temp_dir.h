#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace tarvenor::testing {

// A new, empty folder in the system's temporary folder, named after `prefix`; empty on failure.
inline std::filesystem::path make_temp_folder(std::string_view prefix) {
    std::random_device random;
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    for (int attempt = 0; attempt < 100 && !error; ++attempt) {
        auto folder = base / (std::string(prefix) + "-" + std::to_string(random()));
        // Creation fails on a taken name, so two runs never share a folder.
        if (std::filesystem::create_directory(folder, error)) {
            return folder;
        }
    }
    return {};
}

// A fresh folder of its own per test (parallel runs never share one), removed afterwards.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string suite =
            ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
        std::replace(suite.begin(), suite.end(), '/', '-'); // parameterised suites
        dir_ = make_temp_folder("tarvenor-" + suite);
        ASSERT_FALSE(dir_.empty());
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
