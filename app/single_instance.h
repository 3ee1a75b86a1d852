#pragma once

#include "app/shell_messages.h"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace tarvenor {

// One running program per user: a lock file named after the mutex, and a local server of the
// same name through which a later start hands over "open" or "kill".
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kMutexName = "Brennic RGB";

    enum class Claim {
        Owner,      // this process is the running instance now
        HandedOver, // another instance runs and took the "open" request
        NoAnswer,   // the lock is held but nobody answers: go on without it
    };

    // `folder`: where the lock file and the socket live (the user's runtime folder).
    explicit SingleInstance(const QString& folder);
    ~SingleInstance() override;

    Claim claim();
    // Sends a command to the running instance; true once it acknowledged it.
    bool send(ShellCommand command) const;
    // Stops serving and removes the lock file and the socket.
    void release();

    QString lock_path() const;
    QString server_path() const;

signals:
    void command_received(tarvenor::ShellCommand command);

private:
    void accept_connections();

    QString folder_;
    QLockFile lock_;
    QLocalServer server_;
};

} // namespace tarvenor
