#include "app/focus_watcher.h"
#include "app/x11_focus_watcher.h"

namespace tarvenor {

FocusSource open_focus_source(const std::string& platform) {
    FocusSource source;
    if (platform == "xcb") {
        source.name = "X11";
        source.watcher = X11FocusWatcher::open(source.problem);
        return source;
    }
    if (platform == "wayland") {
        source.name = "Wayland";
        source.problem = "this build follows the focus on X11 only; on Wayland the "
                         "compositor's window rules can switch the profile";
        return source;
    }
    source.name = platform;
    source.problem = "the window system \"" + platform + "\" does not report the focused window";
    return source;
}

} // namespace tarvenor
