#include "hidserv/sim/control_endpoint.h"
#include "hidserv/sim/native_file.h"

#include <chrono>
#include <cstdint>
#include <windows.h>

namespace tarvenor::sim {
namespace {

constexpr DWORD kPipeBuffer = 4096;

// Winsock has no local sockets everywhere (Wine lacks them), so the channel is a named pipe
// named after the socket path: one pipe per memory folder.
std::wstring pipe_name(const std::filesystem::path& socket) {
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(socket, ignored);
    if (absolute.empty()) {
        absolute = socket;
    }
    const std::wstring text = absolute.lexically_normal().native();
    // FNV-1a over the path, with letters folded as the file system folds them.
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    std::wstring name = L"\\\\.\\pipe\\tarvenor-sim-";
    for (int shift = 60; shift >= 0; shift -= 4) {
        name += L"0123456789abcdef"[(hash >> shift) & 0xF];
    }
    return name;
}

class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { reset(nullptr); }
    void reset(HANDLE handle) {
        if (valid()) {
            ::CloseHandle(handle_);
        }
        handle_ = handle;
    }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// One overlapped operation at a time on a pipe, abandoned on a timeout or when `stop` is set.
class PipeIo {
public:
    PipeIo(HANDLE pipe, HANDLE stop)
        : pipe_(pipe), stop_(stop), done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    bool valid() const { return done_.valid(); }

    // True once a client is connected (it may have hung up already), false when stopping or
    // the pipe failed.
    bool connect() {
        OVERLAPPED io = fresh();
        if (::ConnectNamedPipe(pipe_, &io)) {
            return true;
        }
        switch (::GetLastError()) {
        case ERROR_PIPE_CONNECTED:
        case ERROR_NO_DATA:
            return true;
        case ERROR_IO_PENDING:
            return finish(io, INFINITE).has_value();
        default:
            return false;
        }
    }

    // The number of bytes read; 0 at the end, on a timeout or on failure.
    std::size_t read_some(std::span<char> chunk) {
        if (!valid()) {
            return 0;
        }
        OVERLAPPED io = fresh();
        const BOOL started =
            ::ReadFile(pipe_, chunk.data(), static_cast<DWORD>(chunk.size()), nullptr, &io);
        return started || ::GetLastError() == ERROR_IO_PENDING
                   ? finish(io, kControlWaitMs).value_or(0)
                   : 0;
    }

    void write_all(std::string_view text) {
        while (valid() && !text.empty()) {
            OVERLAPPED io = fresh();
            const BOOL started =
                ::WriteFile(pipe_, text.data(), static_cast<DWORD>(text.size()), nullptr, &io);
            const std::optional<DWORD> written = started || ::GetLastError() == ERROR_IO_PENDING
                                                     ? finish(io, kControlWaitMs)
                                                     : std::nullopt;
            if (!written || *written == 0) {
                return;
            }
            text.remove_prefix(*written);
        }
    }

    std::string read_line() {
        return read_control_line([this](std::span<char> chunk) { return read_some(chunk); });
    }

private:
    OVERLAPPED fresh() {
        OVERLAPPED io{};
        io.hEvent = done_.get();
        return io;
    }

    // Waits for the started operation; on a timeout or a stop it is cancelled and waited for, so
    // that `io` and its buffer are free again.
    std::optional<DWORD> finish(OVERLAPPED& io, DWORD timeout_ms) {
        const HANDLE events[2] = {done_.get(), stop_};
        const DWORD count = stop_ != nullptr ? 2 : 1;
        const DWORD woken = ::WaitForMultipleObjects(count, events, FALSE, timeout_ms);
        if (woken != WAIT_OBJECT_0) {
            ::CancelIoEx(pipe_, &io);
        }
        DWORD transferred = 0;
        const BOOL succeeded = ::GetOverlappedResult(pipe_, &io, &transferred, TRUE);
        if (woken != WAIT_OBJECT_0 || !succeeded) {
            return std::nullopt;
        }
        return transferred;
    }

    HANDLE pipe_;
    HANDLE stop_;
    Handle done_;
};

// The server end of the named pipe, and an event that wakes its thread to stop.
class PipeEndpoint : public ControlEndpoint {
public:
    bool listen(const std::filesystem::path& socket, std::string& error) {
        // The first instance only, and one at most: a second keyboard on the folder is refused.
        pipe_.reset(::CreateNamedPipeW(
            pipe_name(socket).c_str(),
            PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
            kPipeBuffer, kPipeBuffer, 0, nullptr));
        if (!pipe_.valid()) {
            const DWORD reason = ::GetLastError();
            error = reason == ERROR_ACCESS_DENIED || reason == ERROR_PIPE_BUSY
                        ? control_busy_error(socket)
                        : socket.string() + ": " + last_system_error();
            return false;
        }
        if (!stop_.valid()) {
            error = socket.string() + ": " + last_system_error();
            return false;
        }
        return true;
    }

    void serve(const ControlServer::Handler& handler) override {
        PipeIo io(pipe_.get(), stop_.get());
        while (io.valid() && io.connect()) {
            io.write_all(handler(io.read_line()) + "\n");
            // Disconnecting drops what the client has not read yet: wait until it hangs up.
            char rest[16];
            while (io.read_some(rest) != 0) {
            }
            ::DisconnectNamedPipe(pipe_.get());
        }
    }

    void stop() override { ::SetEvent(stop_.get()); }

private:
    Handle pipe_;
    Handle stop_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

// The client end of the pipe, waiting while another client is being answered.
Handle open_pipe(const std::wstring& name) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kControlWaitMs);
    for (;;) {
        const HANDLE pipe = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (pipe != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_PIPE_BUSY) {
            return Handle(pipe);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 ||
            !::WaitNamedPipeW(name.c_str(), static_cast<DWORD>(left.count()))) {
            return Handle();
        }
    }
}

} // namespace

std::unique_ptr<ControlEndpoint> listen_for_control(const std::filesystem::path& socket,
                                                    std::string& error) {
    auto endpoint = std::make_unique<PipeEndpoint>();
    if (!endpoint->listen(socket, error)) {
        return nullptr;
    }
    return endpoint;
}

std::optional<std::string> send_control_command(const std::filesystem::path& socket,
                                                std::string_view command, std::string& error) {
    const Handle pipe = open_pipe(pipe_name(socket));
    if (!pipe.valid()) {
        error = control_absent_error(socket);
        return std::nullopt;
    }
    PipeIo io(pipe.get(), nullptr);
    io.write_all(std::string(command) + "\n");
    const std::string reply = io.read_line();
    if (reply.empty()) {
        error = control_silent_error(socket);
        return std::nullopt;
    }
    return reply;
}

} // namespace tarvenor::sim
