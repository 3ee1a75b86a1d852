#include "desktop/toplevel_list.h"

#include <algorithm>

namespace tarvenor {

ToplevelList::Toplevel& ToplevelList::find(Handle toplevel) {
    const auto found = std::ranges::find(toplevels_, toplevel, &Toplevel::handle);
    if (found != toplevels_.end()) {
        return *found;
    }
    Toplevel& added = toplevels_.emplace_back();
    added.handle = toplevel;
    return added;
}

void ToplevelList::app_id(Handle toplevel, std::string app_id) {
    find(toplevel).next_app_id = std::move(app_id);
}

void ToplevelList::state(Handle toplevel, bool activated) {
    find(toplevel).next_activated = activated;
}

std::optional<std::string> ToplevelList::done(Handle toplevel) {
    Toplevel& window = find(toplevel);
    const bool renamed = window.app_id != window.next_app_id;
    window.app_id = window.next_app_id;
    window.activated = window.next_activated;
    window.shown = true;
    if (!window.activated) {
        // The focus left it for the desktop or for a window whose done is still to come.
        if (active_ == toplevel) {
            active_ = nullptr;
        }
        return std::nullopt;
    }
    if (active_ == toplevel && !renamed) {
        return std::nullopt;
    }
    active_ = toplevel;
    if (window.app_id.empty()) {
        return std::nullopt;
    }
    return window.app_id;
}

void ToplevelList::closed(Handle toplevel) {
    std::erase_if(toplevels_,
                  [toplevel](const Toplevel& window) { return window.handle == toplevel; });
    if (active_ == toplevel) {
        active_ = nullptr;
    }
}

std::optional<std::string> ToplevelList::activated() const {
    const auto found = std::ranges::find(toplevels_, active_, &Toplevel::handle);
    if (active_ == nullptr || found == toplevels_.end() || found->app_id.empty()) {
        return std::nullopt;
    }
    return found->app_id;
}

std::vector<std::string> ToplevelList::app_ids() const {
    std::vector<std::string> ids;
    for (const Toplevel& window : toplevels_) {
        if (window.shown && !window.app_id.empty() &&
            std::ranges::find(ids, window.app_id) == ids.end()) {
            ids.push_back(window.app_id);
        }
    }
    return ids;
}

} // namespace tarvenor
