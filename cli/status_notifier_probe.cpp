#include "cli/tray_probes.h"

#include <dbus/dbus.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace tarvenor::cli {
namespace {

constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr int kTimeoutMs = 2000;

struct ConnectionCloser {
    void operator()(DBusConnection* connection) const {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
};
using Connection = std::unique_ptr<DBusConnection, ConnectionCloser>;

struct MessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

// An error that frees itself.
struct Error {
    Error() { dbus_error_init(&error); }
    ~Error() { dbus_error_free(&error); }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    std::string text() const { return error.message != nullptr ? error.message : "no answer"; }
    DBusError error;
};

// The session bus's address; empty when the session has none (a bus started just for the
// doctor, as libdbus's autolaunch would do, would tell nothing about the session).
std::string session_bus_address() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) {
        return address;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') {
        return {};
    }
    const std::string socket = std::string(runtime) + "/bus";
    struct stat status {};
    return ::stat(socket.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) ? "unix:path=" + socket
                                                                            : std::string();
}

Message call(DBusConnection* connection, Message request, Error& error) {
    return Message(dbus_connection_send_with_reply_and_block(connection, request.get(), kTimeoutMs,
                                                             &error.error));
}

// The unique name owning the watcher's name; empty when nobody owns it.
std::string watcher_owner(DBusConnection* connection) {
    Message request(dbus_message_new_method_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                 "org.freedesktop.DBus", "GetNameOwner"));
    const char* name = kWatcher;
    dbus_message_append_args(request.get(), DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID);
    Error error;
    const Message reply = call(connection, std::move(request), error);
    const char* owner = nullptr;
    if (!reply || !dbus_message_get_args(reply.get(), &error.error, DBUS_TYPE_STRING, &owner,
                                         DBUS_TYPE_INVALID)) {
        return {};
    }
    return owner;
}

bool host_registered(DBusConnection* connection, const std::string& owner) {
    Message request(dbus_message_new_method_call(owner.c_str(), "/StatusNotifierWatcher",
                                                 "org.freedesktop.DBus.Properties", "Get"));
    const char* interface = kWatcher;
    const char* property = "IsStatusNotifierHostRegistered";
    dbus_message_append_args(request.get(), DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING,
                             &property, DBUS_TYPE_INVALID);
    Error error;
    const Message reply = call(connection, std::move(request), error);
    DBusMessageIter answer;
    if (!reply || !dbus_message_iter_init(reply.get(), &answer) ||
        dbus_message_iter_get_arg_type(&answer) != DBUS_TYPE_VARIANT) {
        return false;
    }
    DBusMessageIter value;
    dbus_message_iter_recurse(&answer, &value);
    if (dbus_message_iter_get_arg_type(&value) != DBUS_TYPE_BOOLEAN) {
        return false;
    }
    dbus_bool_t registered = FALSE;
    dbus_message_iter_get_basic(&value, &registered);
    return registered != FALSE;
}

} // namespace

StatusNotifierFinding probe_status_notifier() {
    const std::string address = session_bus_address();
    if (address.empty()) {
        return {StatusNotifierFinding::State::NoBus,
                "DBUS_SESSION_BUS_ADDRESS is not set and XDG_RUNTIME_DIR holds no bus"};
    }
    Error error;
    const Connection connection(dbus_connection_open_private(address.c_str(), &error.error));
    if (!connection) {
        return {StatusNotifierFinding::State::NoBus,
                "cannot reach " + address + ": " + error.text()};
    }
    dbus_connection_set_exit_on_disconnect(connection.get(), FALSE);
    if (!dbus_bus_register(connection.get(), &error.error)) {
        return {StatusNotifierFinding::State::NoBus,
                "cannot reach " + address + ": " + error.text()};
    }
    const std::string owner = watcher_owner(connection.get());
    if (owner.empty()) {
        return {StatusNotifierFinding::State::NoWatcher, {}};
    }
    return {host_registered(connection.get(), owner) ? StatusNotifierFinding::State::Host
                                                     : StatusNotifierFinding::State::NoHost,
            owner};
}

} // namespace tarvenor::cli
