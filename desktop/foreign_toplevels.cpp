#include "desktop/foreign_toplevels.h"

#include "foreign-toplevel-client.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

namespace tarvenor {

// The protocol's C callbacks, with the watcher as their data.
struct ToplevelEvents {
    // Version 3 is the newest this program knows; its events are all it needs.
    static constexpr unsigned kNewestVersion = 3;

    static ForeignToplevels& of(void* data) { return *static_cast<ForeignToplevels*>(data); }

    static void global(void* data, wl_registry*, std::uint32_t name, const char* interface,
                       std::uint32_t version) {
        if (std::strcmp(interface, ForeignToplevels::kProtocol) == 0) {
            of(data).manager_name_ = name;
            of(data).manager_version_ = std::min(version, kNewestVersion);
        }
    }

    static void global_remove(void*, wl_registry*, std::uint32_t) {}

    static void toplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                         zwlr_foreign_toplevel_handle_v1* handle) {
        zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kToplevel, data);
    }

    static void finished(void* data, zwlr_foreign_toplevel_manager_v1*) {
        of(data).finished_ = true;
    }

    static void title(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}

    static void app_id(void* data, zwlr_foreign_toplevel_handle_v1* handle, const char* id) {
        of(data).list_.app_id(handle, id != nullptr ? id : "");
    }

    static void output(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}

    static void state(void* data, zwlr_foreign_toplevel_handle_v1* handle, wl_array* states) {
        bool activated = false;
        const auto* values = static_cast<const std::uint32_t*>(states->data);
        for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
            activated |= values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
        }
        of(data).list_.state(handle, activated);
    }

    static void done(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
        ForeignToplevels& self = of(data);
        if (const std::optional<std::string> app_id = self.list_.done(handle);
            app_id && self.activated_) {
            self.activated_(*app_id);
        }
    }

    static void closed(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
        of(data).list_.closed(handle);
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
    }

    static void parent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

    static constexpr wl_registry_listener kRegistry{global, global_remove};
    static constexpr zwlr_foreign_toplevel_manager_v1_listener kManager{toplevel, finished};
    static constexpr zwlr_foreign_toplevel_handle_v1_listener kToplevel{
        title, app_id, output, output, state, done, closed, parent};
};

ForeignToplevels::~ForeignToplevels() {
    if (manager_ != nullptr) {
        zwlr_foreign_toplevel_manager_v1_destroy(manager_);
    }
    if (registry_ != nullptr) {
        wl_registry_destroy(registry_);
    }
    // The handles still open go with the connection.
    wl_display_disconnect(display_);
}

std::string ForeignToplevels::describe(Failure failure) {
    switch (failure) {
    case Failure::NoCompositor:
        return "no Wayland compositor answers";
    case Failure::NoManager:
        return std::string("the compositor does not offer the wlr foreign-toplevel protocol (") +
               kProtocol + ")";
    case Failure::ConnectionLost:
        break;
    }
    return "the Wayland compositor closed the connection";
}

std::unique_ptr<ForeignToplevels> ForeignToplevels::connect(Failure& failure) {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        failure = Failure::NoCompositor;
        return nullptr;
    }
    std::unique_ptr<ForeignToplevels> toplevels(new ForeignToplevels());
    toplevels->display_ = display;
    toplevels->registry_ = wl_display_get_registry(display);
    wl_registry_add_listener(toplevels->registry_, &ToplevelEvents::kRegistry, toplevels.get());
    if (wl_display_roundtrip(display) < 0) {
        failure = Failure::ConnectionLost;
        return nullptr;
    }
    if (toplevels->manager_name_ == 0) {
        failure = Failure::NoManager;
        return nullptr;
    }
    toplevels->manager_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(
        wl_registry_bind(toplevels->registry_, toplevels->manager_name_,
                         &zwlr_foreign_toplevel_manager_v1_interface, toplevels->manager_version_));
    zwlr_foreign_toplevel_manager_v1_add_listener(toplevels->manager_, &ToplevelEvents::kManager,
                                                  toplevels.get());
    // The first brings the toplevels, the second whatever they sent as they were made.
    if (wl_display_roundtrip(display) < 0 || wl_display_roundtrip(display) < 0) {
        failure = Failure::ConnectionLost;
        return nullptr;
    }
    return toplevels;
}

int ForeignToplevels::fd() const {
    return wl_display_get_fd(display_);
}

bool ForeignToplevels::read() {
    // Events already queued (read along with a reply) are handled before the socket is read.
    while (wl_display_prepare_read(display_) != 0) {
        if (wl_display_dispatch_pending(display_) < 0) {
            return false;
        }
    }
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) {
        return false;
    }
    // Destroy requests of closed handles.
    wl_display_flush(display_);
    return !finished_;
}

} // namespace tarvenor
