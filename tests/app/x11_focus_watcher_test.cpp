#include "app/x11_focus_watcher.h"
#include "private_x_server.h"
#include "scoped_variable.h"

#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

namespace tarvenor {
namespace {

// A private X server where the test plays the window manager: windows with a WM_CLASS, listed
// on the root window, and the active one announced there.
class X11FocusWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server_.started()) {
            GTEST_SKIP() << "Xvfb is not installed";
        }
        wm_ = server_.connect();
        ASSERT_NE(wm_, nullptr) << "Xvfb did not start";
        root_ = xcb_setup_roots_iterator(xcb_get_setup(wm_)).data->root;
        active_ = atom("_NET_ACTIVE_WINDOW");
        client_list_ = atom("_NET_CLIENT_LIST");
        xcb_change_property(wm_, XCB_PROP_MODE_REPLACE, root_, atom("_NET_SUPPORTED"),
                            XCB_ATOM_ATOM, 32, 1, &active_);
        PrivateXServer::sync(wm_);
    }
    void TearDown() override {
        if (wm_ != nullptr) {
            xcb_disconnect(wm_);
        }
    }

    xcb_atom_t atom(std::string_view name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            wm_, xcb_intern_atom(wm_, 0, static_cast<std::uint16_t>(name.size()), name.data()),
            nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    // A window of an application whose WM_CLASS instance is `name`, listed as a client.
    xcb_window_t add_window(const std::string& name) {
        const xcb_window_t window = xcb_generate_id(wm_);
        xcb_create_window(wm_, XCB_COPY_FROM_PARENT, window, root_, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        const std::string names = name + '\0' + "Test" + '\0';
        xcb_change_property(wm_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING,
                            8, static_cast<std::uint32_t>(names.size()), names.data());
        xcb_change_property(wm_, XCB_PROP_MODE_APPEND, root_, client_list_, XCB_ATOM_WINDOW, 32, 1,
                            &window);
        PrivateXServer::sync(wm_);
        return window;
    }

    void announce(xcb_window_t window) {
        xcb_change_property(wm_, XCB_PROP_MODE_REPLACE, root_, active_, XCB_ATOM_WINDOW, 32, 1,
                            &window);
        PrivateXServer::sync(wm_);
    }

    std::unique_ptr<X11FocusWatcher> start_watcher() {
        std::optional<OwnText> problem;
        std::unique_ptr<X11FocusWatcher> watcher = X11FocusWatcher::open(problem);
        if (watcher) {
            watcher->start([this](const FocusedWindow& window) { seen_ = window.instance; });
        }
        return watcher;
    }

    bool seen_within(const std::string& name) {
        return QTest::qWaitFor([&] { return seen_ == name; }, 2000);
    }

    PrivateXServer server_{":" + std::to_string(7500 + ::getpid() % 400)};
    testing::ScopedVariable display_{"DISPLAY", server_.display()};
    xcb_connection_t* wm_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t active_ = XCB_ATOM_NONE;
    xcb_atom_t client_list_ = XCB_ATOM_NONE;
    std::string seen_;
};

// Announcements read off the socket while the watcher waits for a reply (to its own questions
// about a window, or while the running windows are listed for the rules page) are still taken.
TEST_F(X11FocusWatcherTest, NoAnnouncementOfTheActiveWindowIsMissed) {
    const xcb_window_t alpha = add_window("alpha");
    const xcb_window_t beta = add_window("beta");
    announce(alpha);
    const std::unique_ptr<X11FocusWatcher> watcher = start_watcher();
    ASSERT_TRUE(watcher);
    EXPECT_EQ(seen_, "alpha");

    announce(beta);
    EXPECT_EQ(watcher->windows().size(), 2U);
    EXPECT_TRUE(seen_within("beta"));

    // A window manager passing the focus may announce no window first; the window that follows
    // is taken however soon it comes.
    for (int change = 0; change < 16; ++change) {
        const xcb_window_t to = change % 2 == 0 ? alpha : beta;
        std::thread manager([&] {
            announce(XCB_WINDOW_NONE);
            std::this_thread::sleep_for(std::chrono::microseconds(25 * (change % 8)));
            announce(to);
        });
        const bool seen = seen_within(to == alpha ? "alpha" : "beta");
        manager.join();
        ASSERT_TRUE(seen) << "change " << change;
    }
}

} // namespace
} // namespace tarvenor
