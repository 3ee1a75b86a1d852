// session_manager: a minimal X session manager (XSMP over ICE) for the tests. Listens on a local
// ICE socket only, writes the SESSION_MANAGER value for its clients to FILE, and registers every
// client that connects. SIGUSR1 ends the session: each registered client is told to save itself
// for a shutdown, with save type SAVE ("both", the default, as desktops ask at a logout;
// "global" or "local") and interact style STYLE ("any", the default, or "none"), and each one
// that answers with SaveYourselfDone is told to die. SIGTERM or SIGINT ends the manager.
// What the clients do goes to standard output, one line each (and "session-end COUNT" at SIGUSR1):
//   registered ID PID | save-yourself ID | save-yourself-done ID | die ID | closed ID | lost ID
// (PID: the process at the other end of the socket, which ties a registration to a process.)
// Usage: session_manager FILE [SAVE [STYLE]]
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

// Part of libICE's transport layer, exported but declared in no header: keeps
// IceListenForConnections from opening a TCP port, so that only local clients can reach us.
extern "C" int _IceTransNoListen(const char* protocol);

namespace {

struct Client {
    SmsConn sms = nullptr;
    std::string id; // empty until registered
    bool told_to_save = false;
};

std::vector<IceConn> connections;
std::vector<std::unique_ptr<Client>> clients;
int save_type = SmSaveBoth;
int interact_style = SmInteractStyleAny;
bool session_ending = false;

void say(const char* what, const Client& client) {
    std::printf("%s %s\n", what, client.id.empty() ? "(unregistered)" : client.id.c_str());
    std::fflush(stdout);
}

Client* client_of(SmPointer data) {
    return static_cast<Client*>(data);
}

void forget(SmsConn sms) {
    std::erase_if(clients, [sms](const std::unique_ptr<Client>& c) { return c->sms == sms; });
}

void save_yourself(Client& client) {
    if (client.id.empty() || client.told_to_save) {
        return;
    }
    client.told_to_save = true;
    SmsSaveYourself(client.sms, save_type, True, interact_style, False);
    say("save-yourself", client);
}

Status register_client(SmsConn sms, SmPointer data, char* previous_id) {
    Client& client = *client_of(data);
    // A client back from an earlier session keeps its id; an empty one counts as none.
    if (previous_id != nullptr) {
        client.id = previous_id;
        std::free(previous_id);
    }
    if (client.id.empty()) {
        if (char* generated = SmsGenerateClientID(sms); generated != nullptr) {
            client.id = generated;
            std::free(generated);
        } else {
            static int next = 0;
            client.id = "test-client-" + std::to_string(++next);
        }
    }
    // libSM may keep the pointer it is given: a copy of its own that is never freed here.
    SmsRegisterClientReply(sms, strdup(client.id.c_str()));
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(IceConnectionNumber(SmsGetIceConnection(sms)), SOL_SOCKET, SO_PEERCRED, &peer,
                   &size) != 0) {
        peer.pid = 0;
    }
    std::printf("registered %s %d\n", client.id.c_str(), static_cast<int>(peer.pid));
    std::fflush(stdout);
    // A client that comes while the session ends takes part in its end.
    if (session_ending) {
        save_yourself(client);
    }
    return 1;
}

void interact_request(SmsConn sms, SmPointer data, int /*dialog_type*/) {
    say("interact-request", *client_of(data));
    SmsInteract(sms);
}

void interact_done(SmsConn /*sms*/, SmPointer data, Bool cancel_shutdown) {
    say(cancel_shutdown ? "interact-done-cancel" : "interact-done", *client_of(data));
}

void save_yourself_request(SmsConn /*sms*/, SmPointer data, int /*save_type*/, Bool /*shutdown*/,
                           int /*interact_style*/, Bool /*fast*/, Bool /*global*/) {
    say("save-yourself-request", *client_of(data));
}

void save_yourself_phase2_request(SmsConn sms, SmPointer data) {
    say("save-yourself-phase2-request", *client_of(data));
    SmsSaveYourselfPhase2(sms);
}

void save_yourself_done(SmsConn sms, SmPointer data, Bool success) {
    Client& client = *client_of(data);
    say(success ? "save-yourself-done" : "save-yourself-failed", client);
    if (session_ending && client.told_to_save) {
        SmsDie(sms);
        say("die", client);
    }
}

void close_connection(SmsConn sms, SmPointer data, int count, char** reasons) {
    say("closed", *client_of(data));
    SmFreeReasons(count, reasons);
    IceConn ice = SmsGetIceConnection(sms);
    SmsCleanUp(sms);
    forget(sms);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
}

void set_properties(SmsConn /*sms*/, SmPointer /*data*/, int count, SmProp** properties) {
    for (int i = 0; i < count; ++i) {
        SmFreeProperty(properties[i]);
    }
    std::free(properties);
}

void delete_properties(SmsConn /*sms*/, SmPointer /*data*/, int count, char** names) {
    for (int i = 0; i < count; ++i) {
        std::free(names[i]);
    }
    std::free(names);
}

void get_properties(SmsConn sms, SmPointer /*data*/) {
    SmsReturnProperties(sms, 0, nullptr);
}

Status new_client(SmsConn sms, SmPointer /*manager_data*/, unsigned long* mask,
                  SmsCallbacks* callbacks, char** /*failure_reason*/) {
    auto& client = clients.emplace_back(std::make_unique<Client>());
    client->sms = sms;
    SmPointer data = client.get();
    *callbacks = {};
    callbacks->register_client = {register_client, data};
    callbacks->interact_request = {interact_request, data};
    callbacks->interact_done = {interact_done, data};
    callbacks->save_yourself_request = {save_yourself_request, data};
    callbacks->save_yourself_phase2_request = {save_yourself_phase2_request, data};
    callbacks->save_yourself_done = {save_yourself_done, data};
    callbacks->close_connection = {close_connection, data};
    callbacks->set_properties = {set_properties, data};
    callbacks->delete_properties = {delete_properties, data};
    callbacks->get_properties = {get_properties, data};
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
            SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
            SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
    return 1;
}

// No authentication: the socket is local, in a folder only this machine's users reach.
Bool any_host(char* /*host_name*/) {
    return True;
}

// A client that goes away without a word must not end the manager (libICE's default exits).
void ignore_io_error(IceConn /*ice*/) {}

// The client of a connection lost at the transport level: said, and its state dropped.
void lose(IceConn ice) {
    const auto it = std::find_if(clients.begin(), clients.end(), [ice](const auto& c) {
        return SmsGetIceConnection(c->sms) == ice;
    });
    if (it != clients.end()) {
        say("lost", **it);
        SmsConn sms = (*it)->sms;
        clients.erase(it);
        SmsCleanUp(sms);
    }
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
}

int fail(const char* why) {
    std::fprintf(stderr, "session_manager: %s\n", why);
    return 2;
}

bool write_address(const char* file, const std::string& address) {
    // Written whole, then renamed: the test never reads half of it.
    const std::string part = std::string(file) + ".part";
    std::FILE* out = std::fopen(part.c_str(), "w");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fprintf(out, "%s\n", address.c_str()) > 0;
    return std::fclose(out) == 0 && written && std::rename(part.c_str(), file) == 0;
}

void end_session() {
    session_ending = true;
    std::printf("session-end %zu\n", clients.size());
    std::fflush(stdout);
    for (const auto& client : clients) {
        save_yourself(*client);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        return fail("usage: session_manager FILE [both|global|local [any|none]]");
    }
    if (argc > 2) {
        const std::string_view save = argv[2];
        if (save == "global") {
            save_type = SmSaveGlobal;
        } else if (save == "local") {
            save_type = SmSaveLocal;
        } else if (save != "both") {
            return fail("the save type is both, global or local");
        }
    }
    if (argc > 3) {
        const std::string_view style = argv[3];
        if (style == "none") {
            interact_style = SmInteractStyleNone;
        } else if (style != "any") {
            return fail("the interact style is any or none");
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGUSR1);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    // Blocked before anyone learns the address: a SIGUSR1 is never lost or fatal.
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    const int signal_fd = signalfd(-1, &signals, SFD_CLOEXEC);
    if (signal_fd < 0) {
        return fail("no signalfd");
    }

    char error[256] = {};
    if (!SmsInitialize("Tarvenor tests", "1.0", new_client, nullptr, any_host, sizeof error,
                       error)) {
        return fail(error);
    }
    IceSetIOErrorHandler(ignore_io_error);
    _IceTransNoListen("tcp");
    int count = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&count, &listeners, sizeof error, error)) {
        return fail(error);
    }
    std::vector<IceListenObj> local;
    for (int i = 0; i < count; ++i) {
        IceSetHostBasedAuthProc(listeners[i], any_host);
        char* address = IceGetListenConnectionString(listeners[i]);
        if (std::string_view(address).starts_with("local/")) {
            local.push_back(listeners[i]);
        }
        std::free(address);
    }
    if (local.empty()) {
        return fail("no local ICE socket");
    }
    char* ids = IceComposeNetworkIdList(static_cast<int>(local.size()), local.data());
    const bool written = write_address(argv[1], ids);
    std::free(ids);
    if (!written) {
        return fail("cannot write the address file");
    }

    for (;;) {
        std::vector<pollfd> watched;
        watched.push_back({signal_fd, POLLIN, 0});
        for (IceListenObj listener : local) {
            watched.push_back({IceGetListenConnectionNumber(listener), POLLIN, 0});
        }
        for (IceConn ice : connections) {
            watched.push_back({IceConnectionNumber(ice), POLLIN, 0});
        }
        if (poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail("poll failed");
        }
        if ((watched[0].revents & POLLIN) != 0) {
            signalfd_siginfo info{};
            if (read(signal_fd, &info, sizeof info) == sizeof info) {
                if (info.ssi_signo != SIGUSR1) {
                    break;
                }
                end_session();
            }
        }
        std::size_t slot = 1;
        for (IceListenObj listener : local) {
            if ((watched[slot++].revents & POLLIN) == 0) {
                continue;
            }
            IceAcceptStatus status{};
            IceConn ice = IceAcceptConnection(listener, &status);
            if (ice != nullptr && status == IceAcceptSuccess) {
                connections.push_back(ice);
            }
        }
        // Connections accepted just now were not polled: the next round looks at them.
        std::vector<IceConn> ended;
        for (std::size_t i = 0; slot < watched.size(); ++i, ++slot) {
            if ((watched[slot].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                continue;
            }
            IceConn ice = connections[i];
            const IceProcessMessagesStatus status = IceProcessMessages(ice, nullptr, nullptr);
            if (status == IceProcessMessagesIOError) {
                lose(ice);
                ended.push_back(ice);
            } else if (status == IceProcessMessagesConnectionClosed) {
                ended.push_back(ice);
            }
        }
        std::erase_if(connections, [&ended](IceConn ice) {
            return std::find(ended.begin(), ended.end(), ice) != ended.end();
        });
    }
    IceFreeListenObjs(count, listeners);
    return 0;
}
