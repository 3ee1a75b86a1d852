#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace bench {
namespace {

std::vector<std::string> environment_with(const std::map<std::string, std::string>& overrides) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (!overrides.contains(text.substr(0, text.find('=')))) {
            result.push_back(text);
        }
    }
    for (const auto& [name, value] : overrides) {
        if (!value.empty()) {
            result.push_back(name + "=" + value);
        }
    }
    return result;
}

std::vector<char*> pointers_to(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program,
                           const std::vector<std::string>& arguments,
                           const std::map<std::string, std::string>& overrides,
                           const std::filesystem::path& log, int pass_fd) {
    std::vector<std::string> argv_texts{program.string()};
    argv_texts.insert(argv_texts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> env_texts = environment_with(overrides);
    const std::vector<char*> argv = pointers_to(argv_texts);
    const std::vector<char*> envp = pointers_to(env_texts);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (pass_fd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, pass_fd, 3);
    }
    started_ = Clock::now();
    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + program.string() + ": " +
                                 std::strerror(error));
    }
}

ChildProcess::~ChildProcess() {
    end();
}

int ChildProcess::wait() {
    if (pid_ < 0) {
        return -1;
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::end() {
    if (pid_ >= 0) {
        kill(pid_, SIGTERM);
        wait();
    }
}

long cpu_ms(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Fields after the command name (which may hold spaces): state is field 3, utime 14, stime 15.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0;
    long stime = 0;
    for (int number = 3; fields >> field; ++number) {
        if (number == 14) {
            utime = std::stol(field);
        } else if (number == 15) {
            stime = std::stol(field);
            break;
        }
    }
    return (utime + stime) * 1000 / sysconf(_SC_CLK_TCK);
}

double resident_mb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("VmRSS:")) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

void wait_until_settled(pid_t pid, std::chrono::milliseconds quiet,
                        std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    long used = cpu_ms(pid);
    while (Clock::now() < end) {
        std::this_thread::sleep_for(quiet);
        const long now = cpu_ms(pid);
        if (now == used) {
            return;
        }
        used = now;
    }
}

} // namespace bench
