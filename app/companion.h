#pragma once

#include <semaphore.h>

#include <array>
#include <filesystem>
#include <string>

namespace tarvenor {

// The companion program ("KbDaemon" among the program's files), started detached when it is
// there. Returns whether it was started; a failure changes nothing else.
bool start_companion(const std::filesystem::path& program);

// The 211 named events the companion program may use, as named semaphores. Their names carry the
// user id, so that two users logged in at once each have their own.
class CompanionEvents {
public:
    static constexpr int kCount = 211;

    explicit CompanionEvents(unsigned user);
    ~CompanionEvents();
    CompanionEvents(const CompanionEvents&) = delete;
    CompanionEvents& operator=(const CompanionEvents&) = delete;

    // Creates every event not yet there; returns how many are held.
    int create();
    // Closes and removes them all.
    void remove();

    // "/Tarvenor_Event_Main_01.<user>" .. "/Tarvenor_Event_Main_211.<user>" for numbers 1..211.
    static std::string name(int number, unsigned user);

private:
    unsigned user_;
    std::array<sem_t*, kCount> events_{};
};

} // namespace tarvenor
