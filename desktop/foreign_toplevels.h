#pragma once

#include "desktop/toplevel_list.h"

#include <functional>
#include <memory>
#include <string>

struct wl_display;
struct wl_registry;
struct zwlr_foreign_toplevel_manager_v1;

namespace tarvenor {

// A connection of its own to the Wayland compositor, bound to its wlr foreign-toplevel manager
// (sway, Hyprland, labwc, Wayfire offer it; GNOME and KDE do not). Nothing is read unless the
// caller says the connection's socket has something: no thread, no timer.
class ForeignToplevels {
public:
    // The app id of the window that came in front.
    using Activated = std::function<void(const std::string& app_id)>;

    static constexpr const char* kProtocol = "zwlr_foreign_toplevel_manager_v1";

    // Why there is no list of toplevels.
    enum class Failure { NoCompositor, NoManager, ConnectionLost };
    static std::string describe(Failure failure);

    ~ForeignToplevels();
    ForeignToplevels(const ForeignToplevels&) = delete;
    ForeignToplevels& operator=(const ForeignToplevels&) = delete;

    // Connects to $WAYLAND_DISPLAY and learns the windows there are now; nothing, with `failure`
    // set, when no compositor answers or it does not offer the manager.
    static std::unique_ptr<ForeignToplevels> connect(Failure& failure);

    // The socket to watch for reading.
    int fd() const;
    void on_activated(Activated activated) { activated_ = std::move(activated); }
    // Reads and handles what the compositor sent; false once the connection or the manager has
    // ended (nothing more will come).
    bool read();

    const ToplevelList& list() const { return list_; }

private:
    ForeignToplevels() = default;

    friend struct ToplevelEvents;

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    unsigned manager_name_ = 0;
    unsigned manager_version_ = 0;
    bool finished_ = false;
    ToplevelList list_;
    Activated activated_;
};

} // namespace tarvenor
