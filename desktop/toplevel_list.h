#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvenor {

// The compositor's toplevel windows as the foreign-toplevel protocol tells of them, event by
// event. A toplevel's details arrive one event at a time and hold together only with its done
// event, so the window in front changes only there. Free of the protocol's types, so that its
// rules can be tested without a compositor.
class ToplevelList {
public:
    using Handle = const void*;

    void app_id(Handle toplevel, std::string app_id);
    void state(Handle toplevel, bool activated);
    // The toplevel's details hold: its app id when this made another application's window, or
    // the same window under a new app id, the activated one.
    std::optional<std::string> done(Handle toplevel);
    void closed(Handle toplevel);

    // The app id of the activated window; nothing when none is, or it has none.
    std::optional<std::string> activated() const;
    // The app ids of every window that has done, once each, in the order the windows came.
    std::vector<std::string> app_ids() const;

private:
    struct Toplevel {
        Handle handle = nullptr;
        std::string app_id;
        bool activated = false;
        // Told, not yet done.
        std::string next_app_id;
        bool next_activated = false;
        bool shown = false; // done at least once
    };

    Toplevel& find(Handle toplevel);

    std::vector<Toplevel> toplevels_;
    Handle active_ = nullptr;
};

} // namespace tarvenor
