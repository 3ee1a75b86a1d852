#pragma once

#include "app/focus_watcher.h"

#include <QSocketNotifier>

#include <memory>
#include <string>

namespace tarvenor {

class ForeignToplevels;

// The focus on a Wayland compositor that offers the wlr foreign-toplevel manager: the app id of
// the toplevel that becomes activated, read on a connection of its own when its socket has
// something.
class WaylandFocusWatcher final : public FocusWatcher {
public:
    ~WaylandFocusWatcher() override;

    // `own_app_id`: this program's windows, left out. Nothing, and `problem` set, when the
    // compositor cannot be reached or does not offer the protocol.
    static std::unique_ptr<WaylandFocusWatcher> open(std::string own_app_id,
                                                     std::optional<OwnText>& problem);

    void start(Listener listener) override;
    std::vector<FocusedWindow> windows() const override;

private:
    WaylandFocusWatcher(std::unique_ptr<ForeignToplevels> toplevels, std::string own_app_id);

    void report(const std::string& app_id);

    std::unique_ptr<ForeignToplevels> toplevels_;
    std::string own_app_id_;
    std::unique_ptr<QSocketNotifier> notifier_;
    Listener listener_;
};

} // namespace tarvenor
