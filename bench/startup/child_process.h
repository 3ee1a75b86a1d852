#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// A program started by the benchmark, with the benchmark's environment changed by `overrides`
// (an empty value removes the variable) and its output in `log`; `pass_fd`, when not -1, becomes
// its descriptor 3. It is ended and reaped when the object goes.
class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& overrides,
                 const std::filesystem::path& log, int pass_fd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // The moment just before the program was started.
    Clock::time_point started() const { return started_; }
    // Waits for the program to end by itself; its exit status, -1 when it did not exit.
    int wait();
    // SIGTERM, then the wait.
    void end();

private:
    pid_t pid_ = -1;
    Clock::time_point started_;
};

// Processor time the process has used (user + system), in milliseconds.
long cpu_ms(pid_t pid);
// Resident memory (VmRSS) in megabytes (2^20 bytes).
double resident_mb(pid_t pid);
// Waits until the process has used no processor time for `quiet`, at most `limit`: the end of
// its start-up work, or of what a command made it do.
void wait_until_settled(pid_t pid, std::chrono::milliseconds quiet = std::chrono::milliseconds(300),
                        std::chrono::milliseconds limit = std::chrono::seconds(10));

} // namespace bench
