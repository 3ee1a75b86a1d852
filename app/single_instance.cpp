#include "app/single_instance.h"

#include <QDir>
#include <QLocalSocket>

namespace tarvenor {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 3000;
constexpr char kAcknowledged = 1;

} // namespace

SingleInstance::SingleInstance(const QString& folder)
    : folder_(folder), lock_(QDir(folder).filePath(QStringLiteral("%1.lock").arg(kMutexName))) {
    // A running instance keeps its lock however long it runs; only a dead owner makes it stale.
    lock_.setStaleLockTime(0);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::accept_connections);
}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::lock_path() const {
    return QDir(folder_).filePath(QStringLiteral("%1.lock").arg(kMutexName));
}

QString SingleInstance::server_path() const {
    return QDir(folder_).filePath(QString::fromLatin1(kMutexName));
}

SingleInstance::Claim SingleInstance::claim() {
    QDir().mkpath(folder_);
    if (lock_.tryLock(0)) {
        // Holding the lock, a socket left by a crashed owner can only be stale.
        QLocalServer::removeServer(server_path());
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        server_.listen(server_path());
        return Claim::Owner;
    }
    return send(ShellCommand::Open) ? Claim::HandedOver : Claim::NoAnswer;
}

bool SingleInstance::send(ShellCommand command) const {
    QLocalSocket socket;
    socket.connectToServer(server_path());
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    const ShellPacket packet = encode_shell_command(command);
    socket.write(reinterpret_cast<const char*>(packet.data()), packet.size());
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs)) {
        return false;
    }
    char answer = 0;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(kAnswerTimeoutMs)) {
            return false;
        }
    }
    return socket.read(&answer, 1) == 1 && answer == kAcknowledged;
}

void SingleInstance::accept_connections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() < static_cast<qint64>(sizeof(ShellPacket))) {
                return;
            }
            ShellPacket packet{};
            socket->read(reinterpret_cast<char*>(packet.data()), packet.size());
            const auto command = decode_shell_command(packet);
            if (!command) {
                socket->disconnectFromServer();
                return;
            }
            socket->write(&kAcknowledged, 1);
            socket->flush();
            // The answer goes out before the command runs: "kill" ends this process.
            QMetaObject::invokeMethod(
                this, [this, c = *command] { emit command_received(c); }, Qt::QueuedConnection);
        });
    }
}

void SingleInstance::release() {
    if (server_.isListening()) {
        server_.close();
        QLocalServer::removeServer(server_path());
    }
    lock_.unlock();
}

} // namespace tarvenor
