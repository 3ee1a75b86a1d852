#include "cli/notification_area.h"

#include <gtest/gtest.h>

namespace tarvenor::cli {
namespace {

using Bus = StatusNotifierFinding::State;
using X11 = X11TrayFinding::State;

struct Case {
    const char* name;
    StatusNotifierFinding bus;
    X11TrayFinding x11;
    DoctorCheck::State state;
    const char* detail_start; // what the line must begin with
    bool fix;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class NotificationArea : public ::testing::TestWithParam<Case> {};

TEST_P(NotificationArea, SaysWhichTrayTheProgramUsesOrTheFix) {
    const Case& c = GetParam();
    const DoctorCheck check = notification_area_check(c.bus, c.x11);
    EXPECT_EQ(check.name, "notification area");
    EXPECT_EQ(check.state, c.state) << check.detail;
    EXPECT_EQ(check.detail.rfind(c.detail_start, 0), 0u) << check.detail;
    EXPECT_EQ(!check.fix.empty(), c.fix) << check.fix;
    if (c.fix) {
        EXPECT_NE(check.fix.find("AppIndicator extension"), std::string::npos);
    }
}

const Case kCases[] = {
    // A host wins on either platform, whatever the X server says.
    {"HostAndX11Tray",
     {Bus::Host, ":1.4"},
     {X11::Present, ":3"},
     DoctorCheck::State::Ok,
     "the program uses a StatusNotifierItem host on the session bus (watcher :1.4); an X11 tray "
     "on display :3",
     false},
    {"HostOnWayland",
     {Bus::Host, ":1.0"},
     {X11::NoDisplay, ""},
     DoctorCheck::State::Ok,
     "the program uses a StatusNotifierItem host",
     false},
    {"X11TrayOnly",
     {Bus::NoWatcher, ""},
     {X11::Present, ":3"},
     DoctorCheck::State::Ok,
     "the program uses an X11 tray on display :3 when it runs on X11; no StatusNotifierItem host",
     false},
    {"X11TrayWithoutBus",
     {Bus::NoBus, "no address"},
     {X11::Present, ":3"},
     DoctorCheck::State::Ok,
     "the program uses an X11 tray on display :3",
     false},
    // A watcher without a host shows nothing: GNOME without the extension is like this.
    {"WatcherWithoutHost",
     {Bus::NoHost, ":1.2"},
     {X11::None, ":0"},
     DoctorCheck::State::Fix,
     "none on display :0; a StatusNotifierWatcher on the session bus, but no host",
     true},
    {"WaylandWithoutHost",
     {Bus::NoWatcher, ""},
     {X11::NoDisplay, ""},
     DoctorCheck::State::Fix,
     "no X display to ask (DISPLAY is not set); no StatusNotifierItem host",
     true},
    {"X11WithoutTrayOrBus",
     {Bus::NoBus, "no address"},
     {X11::None, ":2"},
     DoctorCheck::State::Fix,
     "none on display :2; no session bus to ask (no address)",
     true},
    // Nothing answered: nothing can be said.
    {"NothingToAsk",
     {Bus::NoBus, "no address"},
     {X11::NoDisplay, ""},
     DoctorCheck::State::Unknown,
     "no X display to ask",
     false},
    {"DisplayDoesNotAnswer",
     {Bus::NoBus, "no address"},
     {X11::Unreachable, ":9"},
     DoctorCheck::State::Unknown,
     "cannot reach the X display :9",
     false},
};

INSTANTIATE_TEST_SUITE_P(Findings, NotificationArea, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tarvenor::cli
