#include "device/notification_route.h"

#include <array>
#include <mutex>
#include <shared_mutex>
#include <utility>

namespace tarvenor {
namespace {

struct Slot {
    std::shared_mutex dispatching; // shared while a notification runs, exclusive to change target
    NotificationTarget* target = nullptr;
    bool taken = false; // guarded by g_slots_mutex
};

std::array<Slot, NotificationRoute::kCapacity> g_slots;
std::mutex g_slots_mutex;

template <std::size_t Index> int notify_slot(const HidReadNotification* notification) {
    Slot& slot = g_slots[Index];
    const std::shared_lock lock(slot.dispatching);
    if (slot.target != nullptr && notification != nullptr && notification->request != nullptr) {
        slot.target->dispatch(*notification);
    }
    return 1;
}

template <std::size_t... Index>
constexpr std::array<HidNotifyCallback, sizeof...(Index)>
make_callbacks(std::index_sequence<Index...>) {
    return {&notify_slot<Index>...};
}

constexpr auto kCallbacks =
    make_callbacks(std::make_index_sequence<NotificationRoute::kCapacity>());

} // namespace

NotificationRoute::NotificationRoute(NotificationTarget& target) {
    const std::lock_guard lock(g_slots_mutex);
    for (std::size_t i = 0; i < kCapacity; ++i) {
        if (!g_slots[i].taken) {
            g_slots[i].taken = true;
            const std::unique_lock exclusive(g_slots[i].dispatching);
            g_slots[i].target = &target;
            slot_ = i;
            callback_ = kCallbacks[i];
            return;
        }
    }
}

NotificationRoute::~NotificationRoute() {
    if (slot_ == kCapacity) {
        return;
    }
    {
        const std::unique_lock exclusive(g_slots[slot_].dispatching);
        g_slots[slot_].target = nullptr;
    }
    const std::lock_guard lock(g_slots_mutex);
    g_slots[slot_].taken = false;
}

} // namespace tarvenor
