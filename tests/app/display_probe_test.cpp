#include "app/display_probe.h"
#include "private_x_server.h"
#include "scoped_variable.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace tarvenor {
namespace {

using testing::ScopedVariable;
using Names = std::vector<std::string>;

TEST(RequestedPlatforms, ArgumentOverVariableOverWaylandAndX11) {
    struct Case {
        Names arguments;
        const char* variable;
        Names platforms;
    };
    const Case cases[] = {
        {{}, nullptr, {"wayland", "xcb"}},
        {{}, "", {"wayland", "xcb"}},
        {{}, "offscreen", {"offscreen"}},
        {{}, "wayland;xcb", {"wayland", "xcb"}},
        {{}, "xcb:nograb;;wayland-egl", {"xcb", "wayland-egl"}},
        {{"/start", "-platform", "offscreen"}, "xcb", {"offscreen"}},
        {{"--platform", "xcb", "-platform", "wayland"}, nullptr, {"wayland"}},
        {{"-platform"}, "xcb", {"xcb"}}, // no name after it: Qt ignores it
        {{"/kill", "-platform", ""}, "xcb", {"wayland", "xcb"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(requested_platforms(c.arguments, c.variable), c.platforms)
            << (c.variable ? c.variable : "(unset)");
    }
}

// A Unix socket at `path` that listens while the object lives and is left behind as a file.
class ListeningSocket {
public:
    explicit ListeningSocket(const std::filesystem::path& path)
        : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        bound_ = ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
                 ::listen(fd_, 1) == 0;
    }
    ListeningSocket(const ListeningSocket&) = delete;
    ListeningSocket& operator=(const ListeningSocket&) = delete;
    ~ListeningSocket() { ::close(fd_); }
    bool bound() const { return bound_; }

private:
    int fd_;
    bool bound_ = false;
};

class DisplayAvailable : public testing::TempDirTest {
protected:
    ScopedVariable runtime_{"XDG_RUNTIME_DIR", std::nullopt};
    ScopedVariable wayland_{"WAYLAND_DISPLAY", std::nullopt};
    ScopedVariable socket_{"WAYLAND_SOCKET", std::nullopt};
    ScopedVariable display_{"DISPLAY", std::nullopt};
};

TEST_F(DisplayAvailable, WaylandOnlyWhenACompositorListens) {
    testing::set_environment_variable("XDG_RUNTIME_DIR", dir_.string());
    testing::set_environment_variable("WAYLAND_DISPLAY", "wayland-test");
    EXPECT_FALSE(display_available({"wayland"})) << "no socket";
    {
        const ListeningSocket compositor(dir_ / "wayland-test");
        ASSERT_TRUE(compositor.bound());
        EXPECT_TRUE(display_available({"wayland"}));
        EXPECT_TRUE(display_available({"xcb", "wayland-egl"})) << "the second one answers";
    }
    EXPECT_TRUE(std::filesystem::exists(dir_ / "wayland-test"));
    EXPECT_FALSE(display_available({"wayland"})) << "a socket file nobody listens on";

    const ListeningSocket absolute(dir_ / "elsewhere");
    testing::set_environment_variable("WAYLAND_DISPLAY", (dir_ / "elsewhere").string());
    testing::set_environment_variable("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_TRUE(display_available({"wayland"})) << "an absolute WAYLAND_DISPLAY";

    testing::set_environment_variable("WAYLAND_DISPLAY", std::nullopt);
    EXPECT_FALSE(display_available({"wayland"})) << "wayland-0 without a runtime folder";
    testing::set_environment_variable("XDG_RUNTIME_DIR", dir_.string());
    const ListeningSocket default_socket(dir_ / "wayland-0");
    EXPECT_TRUE(display_available({"wayland"})) << "wayland-0 when WAYLAND_DISPLAY is unset";
}

TEST_F(DisplayAvailable, X11OnlyWhenTheServerAnswersAndOtherPlatformsAreQtsToJudge) {
    EXPECT_FALSE(display_available({"xcb"})) << "DISPLAY unset";
    testing::set_environment_variable("DISPLAY", "");
    EXPECT_FALSE(display_available({"xcb"})) << "DISPLAY empty";
    // A display number no server uses: nothing listens on its socket.
    testing::set_environment_variable("DISPLAY", ":" + std::to_string(6000 + ::getpid() % 1000));
    EXPECT_FALSE(display_available({"xcb"}));
    EXPECT_FALSE(display_available({"wayland", "xcb"}));
    EXPECT_TRUE(display_available({"offscreen"}));
    EXPECT_TRUE(display_available({"xcb", "vnc"}));
}

// Marks the root window from a connection of its own, which then leaves; or, with `mark` false,
// tells whether the mark is still there (a server that reset has a fresh root window).
bool with_root_mark(const PrivateXServer& server, bool mark) {
    xcb_connection_t* connection = server.connect();
    if (connection == nullptr) {
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    constexpr std::string_view kName = "TARVENOR_TEST_MARK";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, kName.size(), kName.data()), nullptr);
    bool marked = false;
    if (atom != nullptr && mark) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_STRING, 8,
                            1, "x");
        PrivateXServer::sync(connection);
        marked = true;
    } else if (atom != nullptr) {
        xcb_get_property_reply_t* property = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_STRING, 0, 1),
            nullptr);
        marked = property != nullptr && xcb_get_property_value_length(property) == 1;
        std::free(property);
    }
    std::free(atom);
    xcb_disconnect(connection);
    return marked;
}

// An X server whose last client leaves resets itself, and refuses a client connecting meanwhile:
// the probe's connection holds it until the toolkit has connected.
TEST_F(DisplayAvailable, AnAnsweringXServerIsHeldUntilReleased) {
    const std::string display = ":" + std::to_string(7000 + ::getpid() % 1000);
    const PrivateXServer server(display);
    if (!server.started()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    xcb_connection_t* first = server.connect();
    ASSERT_NE(first, nullptr) << "Xvfb did not start";
    testing::set_environment_variable("DISPLAY", display);
    AvailableDisplay available = display_available({"xcb"});
    xcb_disconnect(first);
    ASSERT_TRUE(available);
    with_root_mark(server, true);
    EXPECT_TRUE(with_root_mark(server, false)) << "the server reset while the probe held it";
    available.release();
    with_root_mark(server, true);
    EXPECT_FALSE(with_root_mark(server, false))
        << "released: the last client's leaving resets the server";
}

TEST_F(DisplayAvailable, MessageNamesTheVariablesAndTheirValues) {
    ScopedVariable platform("QT_QPA_PLATFORM", std::nullopt);
    testing::set_environment_variable("DISPLAY", ":7");
    EXPECT_EQ(no_display_message(),
              "no display could be opened (DISPLAY=:7, WAYLAND_DISPLAY not set)");
    testing::set_environment_variable("DISPLAY", "");
    testing::set_environment_variable("WAYLAND_DISPLAY", "wayland-1");
    testing::set_environment_variable("QT_QPA_PLATFORM", "xcb");
    EXPECT_EQ(no_display_message(), "no display could be opened (QT_QPA_PLATFORM=xcb, DISPLAY not "
                                    "set, WAYLAND_DISPLAY=wayland-1)");
}

} // namespace
} // namespace tarvenor
