#include "fake_hidraw.h"
#include "hidserv/hidapi/hidraw_nodes.h"
#include "hidserv/hidserv.h"
#include "scoped_variable.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <string>

namespace tarvenor::testing {
namespace {

using hidserv::HidrawNode;
using hidserv::NodeAccess;

constexpr std::uint16_t kVendor = HIDSERV_VENDOR_ID;
constexpr std::uint16_t kProduct = HIDSERV_PRODUCT_ID;

TEST(UeventTest, MatchesOnlyTheHidIdOfThisKeyboard) {
    struct Case {
        const char* uevent;
        bool names_keyboard;
    };
    const Case cases[] = {
        {"DRIVER=hid-generic\nHID_ID=0003:00000C45:00000820\nHID_NAME=x\n", true},
        {"HID_ID=0003:00000c45:00000820", true},   // lower case, no final newline
        {"HID_ID=0005:00000C45:00000820\n", true}, // over Bluetooth
        {"HID_ID=0003:00000C45:00000821\n", false},
        {"HID_ID=0003:00000C46:00000820\n", false},
        {"HID_ID=0003:00010C45:00000820\n", false},  // the vendor in full, not its low half
        {"HID_ID=0003:100000C45:00000820\n", false}, // does not fit
        {"HID_ID=0003:0C45\n", false},
        {"HID_ID=0003:00000C45:\n", false},
        {"HID_ID=0003:00000C45:0820x\n", false},
        {"HID_ID=:00000C45:00000820\n", false},
        {"XHID_ID=0003:00000C45:00000820\n", false},
        {"HID_NAME=HID_ID=0003:00000C45:00000820\n", false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hidserv::uevent_names_device(c.uevent, kVendor, kProduct), c.names_keyboard)
            << c.uevent;
    }
}

std::string describe(const std::vector<HidrawNode>& nodes) {
    std::string text;
    for (const HidrawNode& node : nodes) {
        text += std::filesystem::path(node.path).filename().string() + "=" +
                std::to_string(static_cast<int>(node.access)) + " ";
    }
    return text;
}

class HidrawNodesTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        table_.emplace(dir_);
    }
    // What an ordinary user sees of the table.
    std::string seen() {
        return run_unprivileged([this] {
            return describe(
                hidserv::device_nodes({table_->sysfs(), table_->dev()}, kVendor, kProduct));
        });
    }
    static std::string entry(int number, NodeAccess access) {
        return "hidraw" + std::to_string(number) + "=" + std::to_string(static_cast<int>(access)) +
               " ";
    }

    std::optional<FakeHidraw> table_;
};

TEST_F(HidrawNodesTest, NoKeyboardAmongOtherDevices) {
    table_->add(0, 0x046D, 0xC52B, FakeHidraw::Node::Opens);
    EXPECT_EQ(seen(), "");
}

TEST_F(HidrawNodesTest, EachInterfaceOfTheKeyboardWithWhetherItOpens) {
    table_->add(10, kVendor, kProduct, FakeHidraw::Node::NoPermission);
    table_->add(2, kVendor, kProduct, FakeHidraw::Node::Opens);
    table_->add(3, kVendor, kProduct, FakeHidraw::Node::Absent);
    table_->add(1, 0x046D, 0xC52B, FakeHidraw::Node::NoPermission);
    EXPECT_EQ(seen(), entry(2, NodeAccess::Opens) + entry(3, NodeAccess::Missing) +
                          entry(10, NodeAccess::NoPermission));
}

TEST_F(HidrawNodesTest, OnlyNodesWithoutPermissionAreAnAccessProblem) {
    const std::vector<HidrawNode> nodes = {{"/dev/hidraw1", NodeAccess::Opens},
                                           {"/dev/hidraw2", NodeAccess::NoPermission, EACCES},
                                           {"/dev/hidraw3", NodeAccess::Missing, ENOENT},
                                           {"/dev/hidraw4", NodeAccess::NoPermission, EPERM}};
    EXPECT_EQ(hidserv::nodes_without_permission(nodes),
              (std::vector<std::string>{"/dev/hidraw2", "/dev/hidraw4"}));
}

TEST_F(HidrawNodesTest, MissingTableMeansNoKeyboard) {
    EXPECT_TRUE(hidserv::device_nodes({dir_ / "none", dir_ / "none"}, kVendor, kProduct).empty());
}

// GetDeviceAccessProblem of a built library, looked up by name as the program does, called as
// an ordinary user. Returns "count|text".
std::string exported_problem(const char* library, int size) {
    return run_unprivileged([library, size] {
        void* const handle = ::dlopen(library, RTLD_NOW | RTLD_LOCAL);
        using Function = int (*)(char*, int);
        const auto function =
            handle ? reinterpret_cast<Function>(::dlsym(handle, "GetDeviceAccessProblem"))
                   : nullptr;
        if (function == nullptr) {
            return std::string("(no function)");
        }
        std::string text(static_cast<std::size_t>(size), 'x');
        const int count = function(size > 0 ? text.data() : nullptr, size);
        ::dlclose(handle);
        return std::to_string(count) + "|" + (size > 0 ? text.c_str() : "");
    });
}

TEST_F(HidrawNodesTest, HidapiLibraryNamesTheNodesItMayNotOpen) {
    table_->add(4, kVendor, kProduct, FakeHidraw::Node::NoPermission);
    table_->add(5, kVendor, kProduct, FakeHidraw::Node::Opens);
    table_->add(6, kVendor, kProduct, FakeHidraw::Node::NoPermission);
    const ScopedVariable sysfs("TARVENOR_SYSFS_ROOT", table_->sysfs().string());
    const ScopedVariable dev("TARVENOR_DEV_ROOT", table_->dev().string());
    const std::string node4 = (table_->dev() / "hidraw4").string();
    const std::string node6 = (table_->dev() / "hidraw6").string();
    EXPECT_EQ(exported_problem(TARVENOR_HIDAPI_LIBRARY, 256), "2|" + node4 + "\n" + node6);
    // Only whole paths: a cut one would name another node.
    EXPECT_EQ(exported_problem(TARVENOR_HIDAPI_LIBRARY, static_cast<int>(node4.size()) + 3),
              "2|" + node4);
    EXPECT_EQ(exported_problem(TARVENOR_HIDAPI_LIBRARY, static_cast<int>(node4.size())), "2|");
    EXPECT_EQ(exported_problem(TARVENOR_HIDAPI_LIBRARY, 0), "2|");
}

TEST_F(HidrawNodesTest, VirtualKeyboardHasNoAccessProblem) {
    table_->add(4, kVendor, kProduct, FakeHidraw::Node::NoPermission);
    const ScopedVariable sysfs("TARVENOR_SYSFS_ROOT", table_->sysfs().string());
    const ScopedVariable dev("TARVENOR_DEV_ROOT", table_->dev().string());
    EXPECT_EQ(exported_problem(TARVENOR_SIM_LIBRARY, 256), "0|");
}

} // namespace
} // namespace tarvenor::testing
