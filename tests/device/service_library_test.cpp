#include "device/service_library.h"

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

TEST(ServiceLibraryTest, EnvironmentChoosesTheLibraryElseTheProgramFolder) {
    ::setenv("TARVENOR_HIDSERV", "/opt/other/libHidServSim.so", 1);
    EXPECT_EQ(ServiceLibrary::default_file("/usr/lib/tarvenor"), "/opt/other/libHidServSim.so");
    ::unsetenv("TARVENOR_HIDSERV");
    EXPECT_EQ(ServiceLibrary::default_file("/usr/lib/tarvenor"), "/usr/lib/tarvenor/libHidServ.so");
}

} // namespace
} // namespace tarvenor
