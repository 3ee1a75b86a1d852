#include "device/dynamic_library.h"
#include "device/service_library.h"
#include "scoped_variable.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvenor {
namespace {

TEST(ServiceLibraryTest, MissingFileIsNamed) {
    std::string error;
    EXPECT_EQ(ServiceLibrary::load("/nonexistent/libHidServ.so", error), nullptr);
    EXPECT_NE(error.find("/nonexistent/libHidServ.so"), std::string::npos) << error;
}

TEST(ServiceLibraryTest, MissingFunctionIsNamed) {
    std::string error;
    EXPECT_EQ(ServiceLibrary::load(FAKE_HIDSERV_WITHOUT_SET_FEATURE, error), nullptr);
    EXPECT_NE(error.find("has no function RequestStatusSetFeature"), std::string::npos) << error;
}

TEST(ServiceLibraryTest, FailedStartIsReported) {
    std::string error;
    EXPECT_EQ(ServiceLibrary::load(FAKE_HIDSERV_FAILING_INIT, error), nullptr);
    EXPECT_NE(error.find("failed to start (Init returned 0)"), std::string::npos) << error;
}

TEST(ServiceLibraryTest, AllTwelveNamesResolveInTheVirtualKeyboard) {
    std::string error;
    const auto library = ServiceLibrary::load(TARVENOR_SIM_LIBRARY, error);
    ASSERT_NE(library, nullptr) << error;
    const HidServFunctions& f = library->functions();
    for (const void* function :
         {reinterpret_cast<const void*>(f.debug), reinterpret_cast<const void*>(f.init),
          reinterpret_cast<const void*>(f.end), reinterpret_cast<const void*>(f.get_device_count),
          reinterpret_cast<const void*>(f.delete_request_from_unit_id),
          reinterpret_cast<const void*>(f.delete_request_from_handle),
          reinterpret_cast<const void*>(f.write), reinterpret_cast<const void*>(f.write_one),
          reinterpret_cast<const void*>(f.status_write),
          reinterpret_cast<const void*>(f.status_get), reinterpret_cast<const void*>(f.async_read),
          reinterpret_cast<const void*>(f.status_set_feature)}) {
        EXPECT_NE(function, nullptr);
    }
}

TEST(ServiceLibraryTest, AccessProblemIsOptionalAndItsListIsSplitSafely) {
    std::string error;
    const auto older = ServiceLibrary::load(FAKE_HIDSERV_OLDER, error);
    ASSERT_NE(older, nullptr) << error;
    EXPECT_TRUE(older->inaccessible_nodes().empty());
    const auto library = ServiceLibrary::load(FAKE_HIDSERV_SCRIPTED, error);
    ASSERT_NE(library, nullptr) << error;
    const auto handle = DynamicLibrary::open(FAKE_HIDSERV_SCRIPTED, error);
    ASSERT_NE(handle, nullptr) << error;
    const auto script =
        reinterpret_cast<void (*)(int, const char*)>(handle->symbol("FakeAccessProblem"));
    ASSERT_NE(script, nullptr);
    EXPECT_TRUE(library->inaccessible_nodes().empty());
    script(2, "/dev/hidraw4\n/dev/hidraw6");
    EXPECT_EQ(library->inaccessible_nodes(),
              (std::vector<std::string>{"/dev/hidraw4", "/dev/hidraw6"}));
    script(1, "/dev/hidraw4\n\n");
    EXPECT_EQ(library->inaccessible_nodes(), (std::vector<std::string>{"/dev/hidraw4"}));
    script(0, "/dev/hidraw4");
    EXPECT_TRUE(library->inaccessible_nodes().empty());
}

TEST(ServiceLibraryTest, VirtualKeyboardReportsNoAccessProblem) {
    std::string error;
    const auto library = ServiceLibrary::load(TARVENOR_SIM_LIBRARY, error);
    ASSERT_NE(library, nullptr) << error;
    EXPECT_TRUE(library->inaccessible_nodes().empty());
}

TEST(ServiceLibraryTest, EnvironmentChoosesTheLibraryElseTheProgramFolder) {
    {
        const testing::ScopedVariable chosen("TARVENOR_HIDSERV", "/opt/other/libHidServSim.so");
        EXPECT_EQ(ServiceLibrary::default_file("/usr/lib/tarvenor"), "/opt/other/libHidServSim.so");
    }
    const testing::ScopedVariable chosen("TARVENOR_HIDSERV", std::nullopt);
#ifdef _WIN32
    EXPECT_EQ(ServiceLibrary::default_file("/usr/lib/tarvenor"), "/usr/lib/tarvenor/HidServ.dll");
#else
    EXPECT_EQ(ServiceLibrary::default_file("/usr/lib/tarvenor"), "/usr/lib/tarvenor/libHidServ.so");
#endif
}

} // namespace
} // namespace tarvenor
