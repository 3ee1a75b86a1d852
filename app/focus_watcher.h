#pragma once

#include "model/text_table.h"
#include "model/window_match.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarvenor {

// Tells which application's window has the focus, from the desktop's own events (never by
// asking at intervals). Windows of this program are left out: opening its window to edit a
// profile does not count as another application in front.
class FocusWatcher {
public:
    using Listener = std::function<void(const FocusedWindow&)>;

    virtual ~FocusWatcher() = default;

    // Starts reporting; the window in front now is reported at once when it is known.
    virtual void start(Listener listener) = 0;
    // The applications that show windows now, for choosing one for a rule.
    virtual std::vector<FocusedWindow> windows() const = 0;
};

// How the focus can be followed on this desktop, and why not when it cannot.
struct FocusSource {
    std::unique_ptr<FocusWatcher> watcher; // nothing: the focus cannot be followed here
    std::string name;                      // "X11", "Wayland (wlr foreign-toplevel)"
    std::optional<OwnText> problem;        // without a watcher: why, in the user's language
};

// The watcher for the window system the program runs on ("xcb", "wayland", ...); windows of the
// app id `own_app_id` (Wayland's name for this program's windows) are left out.
FocusSource open_focus_source(const std::string& platform, const std::string& own_app_id);

} // namespace tarvenor
