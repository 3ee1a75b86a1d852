#pragma once

#include "hidserv/hidserv.h"

#include <cstddef>

namespace tarvenor {

// Whatever receives the notifications of the requests it placed.
class NotificationTarget {
public:
    virtual ~NotificationTarget() = default;
    virtual void dispatch(const HidReadNotification& notification) = 0;
};

// The service library's callback carries no context, so each target gets a callback function of
// its own, taken from a small fixed set. A notification reaches the target whose callback the
// request was placed with, never another one.
class NotificationRoute {
public:
    static constexpr std::size_t kCapacity = 8;

    explicit NotificationRoute(NotificationTarget& target);
    NotificationRoute(const NotificationRoute&) = delete;
    NotificationRoute& operator=(const NotificationRoute&) = delete;
    // Waits for a notification that is being dispatched to the target; none reaches it after.
    // Never call it from the target's own dispatch.
    ~NotificationRoute();

    // nullptr when all kCapacity callbacks are taken.
    HidNotifyCallback callback() const { return callback_; }

private:
    std::size_t slot_ = kCapacity;
    HidNotifyCallback callback_ = nullptr;
};

} // namespace tarvenor
