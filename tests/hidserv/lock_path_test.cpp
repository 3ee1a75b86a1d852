#include "hidserv/hidapi/lock_path.h"
#include "scoped_variable.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvenor::testing {
namespace {

class LockPathTest : public TempDirTest {
protected:
    // GetDeviceLockPath of a built service library, looked up by name as the program does.
    static std::string exported_lock_path(const char* library, int size) {
        void* const handle = ::dlopen(library, RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle, nullptr) << ::dlerror();
        if (handle == nullptr) {
            return "(not loaded)";
        }
        using Function = int (*)(char*, int);
        const auto function = reinterpret_cast<Function>(::dlsym(handle, "GetDeviceLockPath"));
        EXPECT_NE(function, nullptr);
        std::string path(static_cast<std::size_t>(size), 'x');
        const int length = function ? function(path.data(), size) : -1;
        ::dlclose(handle);
        EXPECT_EQ(length, static_cast<int>(std::strlen(path.c_str())));
        return path.c_str();
    }
};

TEST_F(LockPathTest, VirtualKeyboardNamesTheLockInItsMemoryFolder) {
    const ScopedVariable sim_dir("TARVENOR_SIM_DIR", (dir_ / "memory").string());
    const std::string expected = (dir_ / "memory" / "keyboard.lock").string();
    EXPECT_EQ(exported_lock_path(TARVENOR_SIM_LIBRARY, 256), expected);
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "memory"));
    const int exact = static_cast<int>(expected.size()) + 1;
    EXPECT_EQ(exported_lock_path(TARVENOR_SIM_LIBRARY, exact), expected);
    EXPECT_EQ(exported_lock_path(TARVENOR_SIM_LIBRARY, exact - 1), "") << "never a cut path";
    EXPECT_EQ(exported_lock_path(TARVENOR_SIM_LIBRARY, 1), "");
}

TEST_F(LockPathTest, RealKeyboardsLockLivesInTheRuntimeFolderMadePrivate) {
    const ScopedVariable runtime("XDG_RUNTIME_DIR", dir_.string());
    EXPECT_EQ(exported_lock_path(TARVENOR_HIDAPI_LIBRARY, 256),
              (dir_ / "tarvenor" / "keyboard-0c45-0820.lock").string());
    struct stat info {};
    ASSERT_EQ(::stat((dir_ / "tarvenor").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(LockPathTest, RealKeyboardsLockRefusesAFolderOthersCanWriteTo) {
    const ScopedVariable runtime("XDG_RUNTIME_DIR", dir_.string());
    std::filesystem::create_directory(dir_ / "tarvenor");
    ::chmod((dir_ / "tarvenor").c_str(), 0777);
    EXPECT_EQ(hidserv::keyboard_lock_path(), "");
    std::filesystem::remove(dir_ / "tarvenor");
    std::filesystem::create_directory_symlink("/", dir_ / "tarvenor");
    EXPECT_EQ(hidserv::keyboard_lock_path(), "") << "a link may lead anywhere";
}

TEST_F(LockPathTest, RealKeyboardsLockFallsBackToAPerUserFolderInTmp) {
    for (const std::optional<std::string>& runtime :
         {std::optional<std::string>(), std::optional<std::string>("relative/folder")}) {
        const ScopedVariable variable("XDG_RUNTIME_DIR", runtime);
        EXPECT_EQ(hidserv::keyboard_lock_path(),
                  "/tmp/tarvenor-" + std::to_string(::getuid()) + "/keyboard-0c45-0820.lock");
    }
}

} // namespace
} // namespace tarvenor::testing
