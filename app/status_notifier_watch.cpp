#include "app/status_notifier_watch.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace tarvenor {
namespace {

constexpr int kFirstAnswerTimeoutMs = 1000;

bool answer_says_host(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toBool();
}

} // namespace

StatusNotifierWatch::StatusNotifierWatch(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus),
      owner_watch_(QString::fromLatin1(kService), bus, QDBusServiceWatcher::WatchForOwnerChange) {
    if (!bus_.isConnected()) {
        return;
    }
    connect(&owner_watch_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &StatusNotifierWatch::ask);
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        bus_.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                     QString::fromLatin1(kService), QString::fromLatin1(signal), this, SLOT(ask()));
    }
    host_ = answer_says_host(bus_.call(host_question(), QDBus::Block, kFirstAnswerTimeoutMs));
}

QDBusMessage StatusNotifierWatch::host_question() const {
    QDBusMessage question = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    question << QString::fromLatin1(kService) << QStringLiteral("IsStatusNotifierHostRegistered");
    return question;
}

void StatusNotifierWatch::ask() {
    const quint64 question = ++asked_;
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(host_question()), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, question](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (question == asked_) {
                    set_host(answer_says_host(call->reply()));
                }
            });
}

void StatusNotifierWatch::set_host(bool host) {
    if (host != host_) {
        host_ = host;
        emit changed(host);
    }
}

} // namespace tarvenor
