#include "app/companion.h"

#include <QProcess>
#include <QString>

#include <fcntl.h>

#include <cstdio>

namespace tarvenor {

bool start_companion(const std::filesystem::path& program) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(program, error)) {
        return false;
    }
    return QProcess::startDetached(QString::fromStdString(program.string()), {});
}

CompanionEvents::CompanionEvents(unsigned user) : user_(user) {}

CompanionEvents::~CompanionEvents() {
    remove();
}

std::string CompanionEvents::name(int number, unsigned user) {
    char text[64];
    std::snprintf(text, sizeof text, "/%sMain_%02d.%u", "Tarvenor_Event_", number, user);
    return text;
}

int CompanionEvents::create() {
    int held = 0;
    for (int i = 0; i < kCount; ++i) {
        if (events_[i] == nullptr) {
            sem_t* event = sem_open(name(i + 1, user_).c_str(), O_CREAT, 0600, 0);
            events_[i] = event == SEM_FAILED ? nullptr : event;
        }
        held += events_[i] != nullptr ? 1 : 0;
    }
    return held;
}

void CompanionEvents::remove() {
    for (int i = 0; i < kCount; ++i) {
        if (events_[i] != nullptr) {
            sem_close(events_[i]);
            sem_unlink(name(i + 1, user_).c_str());
            events_[i] = nullptr;
        }
    }
}

} // namespace tarvenor
