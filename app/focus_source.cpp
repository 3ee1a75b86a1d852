#include "app/focus_watcher.h"
#include "app/x11_focus_watcher.h"
#include "ui/logic/focus_texts.h"
#ifdef TARVENOR_WAYLAND_FOCUS
#include "app/wayland_focus_watcher.h"
#endif

namespace tarvenor {

FocusSource open_focus_source(const std::string& platform, const std::string& own_app_id) {
    FocusSource source;
    if (platform == "xcb") {
        source.name = "X11";
        source.watcher = X11FocusWatcher::open(source.problem);
        return source;
    }
    if (platform.starts_with("wayland")) {
        source.name = "Wayland (wlr foreign-toplevel)";
#ifdef TARVENOR_WAYLAND_FOCUS
        source.watcher = WaylandFocusWatcher::open(own_app_id, source.problem);
#else
        (void)own_app_id;
        source.problem = focus_text::kBuiltForX11;
#endif
        return source;
    }
    source.name = platform;
    source.problem = focus_text::kOtherWindowSystem;
    return source;
}

} // namespace tarvenor
