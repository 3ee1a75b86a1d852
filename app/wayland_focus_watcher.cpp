#include "app/wayland_focus_watcher.h"

#include "desktop/foreign_toplevels.h"
#include "ui/logic/focus_texts.h"

#include <cstdio>

namespace tarvenor {

WaylandFocusWatcher::WaylandFocusWatcher(std::unique_ptr<ForeignToplevels> toplevels,
                                         std::string own_app_id)
    : toplevels_(std::move(toplevels)), own_app_id_(std::move(own_app_id)) {}

WaylandFocusWatcher::~WaylandFocusWatcher() {
    notifier_.reset();
}

std::unique_ptr<WaylandFocusWatcher> WaylandFocusWatcher::open(std::string own_app_id,
                                                               std::optional<OwnText>& problem) {
    ForeignToplevels::Failure failure{};
    std::unique_ptr<ForeignToplevels> toplevels = ForeignToplevels::connect(failure);
    if (!toplevels) {
        switch (failure) {
        case ForeignToplevels::Failure::NoCompositor:
            problem = focus_text::kNoCompositor;
            break;
        case ForeignToplevels::Failure::NoManager:
            problem = focus_text::kNoToplevelList;
            break;
        case ForeignToplevels::Failure::ConnectionLost:
            problem = focus_text::kCompositorGone;
            break;
        }
        return nullptr;
    }
    return std::unique_ptr<WaylandFocusWatcher>(
        new WaylandFocusWatcher(std::move(toplevels), std::move(own_app_id)));
}

void WaylandFocusWatcher::start(Listener listener) {
    listener_ = std::move(listener);
    toplevels_->on_activated([this](const std::string& app_id) { report(app_id); });
    notifier_ = std::make_unique<QSocketNotifier>(toplevels_->fd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
        if (!toplevels_->read()) {
            // The compositor ended the connection or the manager: nothing more will come.
            std::fprintf(stderr, "tarvenor: the compositor stopped telling which window is in "
                                 "front; the profile no longer follows it\n");
            notifier_->setEnabled(false);
        }
    });
    if (const std::optional<std::string> active = toplevels_->list().activated()) {
        report(*active);
    }
}

void WaylandFocusWatcher::report(const std::string& app_id) {
    if (app_id != own_app_id_ && listener_) {
        FocusedWindow window;
        window.app_id = app_id;
        listener_(window);
    }
}

std::vector<FocusedWindow> WaylandFocusWatcher::windows() const {
    std::vector<FocusedWindow> windows;
    for (const std::string& app_id : toplevels_->list().app_ids()) {
        if (app_id != own_app_id_) {
            FocusedWindow window;
            window.app_id = app_id;
            windows.push_back(std::move(window));
        }
    }
    return windows;
}

} // namespace tarvenor
