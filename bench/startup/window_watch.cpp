#include "window_watch.h"

#include <xcb/damage.h>

#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace bench {
namespace {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPtr<Reply> own(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

} // namespace

WindowWatch::WindowWatch(const std::string& display) {
    connection_ = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection_) != 0) {
        throw std::runtime_error("cannot connect to display " + display);
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0) {
        throw std::runtime_error("the display has no DAMAGE extension");
    }
    damage_event_ = damage->first_event;
    std::free(xcb_damage_query_version_reply(
        connection_, xcb_damage_query_version(connection_, 1, 1), nullptr));
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
}

WindowWatch::~WindowWatch() {
    xcb_disconnect(connection_);
}

xcb_atom_t WindowWatch::atom(const std::string& name) {
    const auto reply = own(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

bool WindowWatch::tray_owned() {
    const auto reply = own(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, atom("_NET_SYSTEM_TRAY_S0")), nullptr));
    return reply && reply->owner != XCB_NONE;
}

bool WindowWatch::has_size(xcb_window_t window, int width, int height) {
    const auto geometry =
        own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    const auto attributes = own(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window), nullptr));
    return geometry && attributes && geometry->width == width && geometry->height == height &&
           attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

void WindowWatch::handle(xcb_generic_event_t& event) {
    const std::uint8_t type = event.response_type & 0x7F;
    if (type == XCB_CREATE_NOTIFY) {
        const auto& created = reinterpret_cast<xcb_create_notify_event_t&>(event);
        if (created.parent == root_) {
            top_level_.insert(created.window);
            xcb_damage_create(connection_, xcb_generate_id(connection_), created.window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        }
    } else if (type == XCB_REPARENT_NOTIFY) {
        const auto& moved = reinterpret_cast<xcb_reparent_notify_event_t&>(event);
        docked_ = docked_ || (top_level_.contains(moved.window) && moved.parent != root_);
    } else if (type == XCB_UNMAP_NOTIFY) {
        unmapped_.insert(reinterpret_cast<xcb_unmap_notify_event_t&>(event).window);
    } else if (type == XCB_MAP_NOTIFY) {
        unmapped_.erase(reinterpret_cast<xcb_map_notify_event_t&>(event).window);
    } else if (type == damage_event_ + XCB_DAMAGE_NOTIFY) {
        const auto& damage = reinterpret_cast<xcb_damage_notify_event_t&>(event);
        drawn_.try_emplace(damage.drawable, Clock::now());
        // Taking the damage away arms the report again for the next drawing.
        xcb_damage_subtract(connection_, damage.damage, XCB_NONE, XCB_NONE);
    }
}

template <typename Done> bool WindowWatch::pump(std::chrono::milliseconds limit, Done done) {
    const auto end = Clock::now() + limit;
    xcb_flush(connection_);
    while (!done()) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            handle(*event);
            std::free(event);
        }
        if (done()) {
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(connection_) != 0) {
            return false;
        }
        xcb_flush(connection_);
        pollfd watched{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&watched, 1, static_cast<int>(left.count()));
    }
    return true;
}

bool WindowWatch::wait_for_tray(std::chrono::milliseconds limit) {
    // The owner announces itself with a client message to the root window, which wakes the wait.
    return pump(limit, [this] { return tray_owned(); });
}

std::optional<std::pair<Clock::time_point, xcb_window_t>>
WindowWatch::wait_for_drawn(int width, int height, std::chrono::milliseconds limit) {
    drawn_.clear();
    std::optional<std::pair<Clock::time_point, xcb_window_t>> found;
    pump(limit, [&] {
        for (const auto& [window, when] : drawn_) {
            if (has_size(window, width, height)) {
                found = std::pair{when, window};
                return true;
            }
        }
        drawn_.clear();
        return false;
    });
    return found;
}

bool WindowWatch::wait_for_docked(std::chrono::milliseconds limit) {
    docked_ = false;
    return pump(limit, [this] { return docked_; });
}

bool WindowWatch::close_and_wait(xcb_window_t window, std::chrono::milliseconds limit) {
    unmapped_.erase(window);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    return pump(limit, [&] { return unmapped_.contains(window); });
}

} // namespace bench
