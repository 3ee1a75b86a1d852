// Starts the program (on the virtual keyboard, under a private Xvfb with a notification area) and
// beside it a bare Qt Widgets program with one empty window of the same size, five times each,
// and prints the medians of: time from start to the window first drawn, resident memory with the
// window shown, hidden in the tray, and after the window was opened and hidden again; then the
// processor time the program uses over 10 s hidden in the tray with the keyboard connected.
// Usage: bench_startup PROGRAM_FOLDER (the folder of tarvenor, its skin and libHidServSim.so, and
// of bench_bare_window). Run it under flock /tmp/tarvenor-program.lock.
#include "model/ini_file.h"
#include "startup/child_process.h"
#include "startup/window_watch.h"
#include "startup/x_server.h"
#include "ui/logic/skin_keys.h"

#include <QImageReader>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace bench;
using namespace std::chrono_literals;

constexpr int kStarts = 5;
constexpr auto kShowLimit = 15s;
constexpr auto kIdleSpan = 10s;

struct Series {
    std::vector<double> shown_ms, shown_mb, hidden_mb, reopened_mb;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

std::string all_of(const std::vector<double>& values) {
    std::string text;
    for (const double value : values) {
        char number[32];
        std::snprintf(number, sizeof number, "%s%.1f", text.empty() ? "" : " ", value);
        text += number;
    }
    return text;
}

std::string last_lines(const std::filesystem::path& log) {
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::string text;
    for (std::size_t i = lines.size() > 10 ? lines.size() - 10 : 0; i < lines.size(); ++i) {
        text += "\n  " + lines[i];
    }
    return text;
}

class StartupBench {
public:
    StartupBench(std::filesystem::path bin, std::filesystem::path work)
        : bin_(std::move(bin)), work_(std::move(work)), server_(work_), watch_(server_.display()) {
        server_.start_tray(work_);
        if (!watch_.wait_for_tray(10s)) {
            throw std::runtime_error("no notification area (trayer) on " + server_.display());
        }
        read_window_size();
    }

    void run() {
        for (int start = 0; start < kStarts; ++start) {
            program_shown(start);
            program_in_tray(start);
            bare_shown(start);
            bare_hidden(start);
        }
    }

    void print() const {
        std::printf("bench_startup: %d starts each, Xvfb %s, virtual keyboard connected, window "
                    "%dx%d; medians (all values)\n",
                    kStarts, server_.display().c_str(), width_, height_);
        std::printf("%-42s %9s %9s %7s\n", "", "tarvenor", "bare", "ratio");
        row("start to window drawn, ms", program_.shown_ms, bare_.shown_ms);
        row("resident, window shown, MB", program_.shown_mb, bare_.shown_mb);
        row("resident, hidden at start (tray), MB", program_.hidden_mb, bare_.hidden_mb);
        row("resident, opened and hidden again, MB", program_.reopened_mb, bare_.reopened_mb);
        const double bare_shown = median(bare_.shown_mb);
        std::printf("\ntargets: shown time %.2f x bare (at most 1.7); hidden in the tray %.2f x "
                    "bare window shown (at most 1.4);\n         opened and hidden again %+.1f MB "
                    "over hidden in the tray (at most 5); window shown %.1f MB (at most 60)\n",
                    median(program_.shown_ms) / median(bare_.shown_ms),
                    median(program_.hidden_mb) / bare_shown,
                    median(program_.reopened_mb) - median(program_.hidden_mb),
                    median(program_.shown_mb));
        std::printf("processor time, hidden in the tray with the keyboard connected, over %lld s: "
                    "%ld ms\n",
                    static_cast<long long>(kIdleSpan.count()), idle_cpu_ms_);
    }

private:
    static void row(const char* what, const std::vector<double>& ours,
                    const std::vector<double>& bare) {
        std::printf("%-42s %9.1f %9.1f %7.2f   (%s | %s)\n", what, median(ours), median(bare),
                    median(ours) / median(bare), all_of(ours).c_str(), all_of(bare).c_str());
    }

    void read_window_size() {
        const std::filesystem::path skins = bin_ / "Skins";
        const auto skin = tarvenor::IniFile::read(skins / "Main.ini");
        if (!skin) {
            throw std::runtime_error("no " + (skins / "Main.ini").string());
        }
        const std::string background =
            skin->get(tarvenor::skin_keys::kScreen, tarvenor::skin_keys::kBackground);
        const QSize size =
            QImageReader(QString::fromStdString((skins / background).string())).size();
        if (!size.isValid()) {
            throw std::runtime_error("cannot read the size of " + background);
        }
        width_ = size.width();
        height_ = size.height();
    }

    // A fresh user for each start: settings, lock, socket, documents and keyboard memory.
    std::map<std::string, std::string> fresh_user(const std::string& name) const {
        const std::filesystem::path home = work_ / name;
        for (const char* folder : {"home", "config", "run", "tmp", "docs", "sim"}) {
            std::filesystem::create_directories(home / folder);
        }
        chmod((home / "run").c_str(), 0700);
        return {{"DISPLAY", server_.display()},
                {"HOME", (home / "home").string()},
                {"XDG_CONFIG_HOME", (home / "config").string()},
                {"XDG_RUNTIME_DIR", (home / "run").string()},
                {"TMPDIR", (home / "tmp").string()},
                {"TARVENOR_USER_DIR", (home / "docs").string()},
                {"TARVENOR_SIM_DIR", (home / "sim").string()},
                {"TARVENOR_HIDSERV", (bin_ / "libHidServSim.so").string()},
                {"QT_QPA_PLATFORM", ""},
                {"TARVENOR_SIM_UNPLUGGED", ""},
                {"TARVENOR_SIM_LATENCY_MS", ""}};
    }

    xcb_window_t wait_for_window(const ChildProcess& process, const std::filesystem::path& log,
                                 double* elapsed_ms) {
        const auto drawn = watch_.wait_for_drawn(width_, height_, kShowLimit);
        if (!drawn) {
            throw std::runtime_error("no window drawn; the program said:" + last_lines(log));
        }
        if (elapsed_ms != nullptr) {
            *elapsed_ms =
                std::chrono::duration<double, std::milli>(drawn->first - process.started()).count();
        }
        wait_until_settled(process.pid());
        return drawn->second;
    }

    void hide(const ChildProcess& process, xcb_window_t window, std::vector<double>& into) {
        if (!watch_.close_and_wait(window, kShowLimit)) {
            throw std::runtime_error("the window did not hide when asked to close");
        }
        wait_until_settled(process.pid());
        into.push_back(resident_mb(process.pid()));
    }

    void program_shown(int start) {
        const std::string name = "shown" + std::to_string(start);
        const auto log = work_ / (name + ".log");
        ChildProcess program(bin_ / "tarvenor", {}, fresh_user(name), log);
        double elapsed = 0;
        wait_for_window(program, log, &elapsed);
        program_.shown_ms.push_back(elapsed);
        program_.shown_mb.push_back(resident_mb(program.pid()));
    }

    void program_in_tray(int start) {
        const std::string name = "tray" + std::to_string(start);
        const auto log = work_ / (name + ".log");
        const auto user = fresh_user(name);
        ChildProcess program(bin_ / "tarvenor", {"/Start"}, user, log);
        if (!watch_.wait_for_docked(kShowLimit)) {
            throw std::runtime_error("no tray icon; the program said:" + last_lines(log));
        }
        wait_until_settled(program.pid());
        program_.hidden_mb.push_back(resident_mb(program.pid()));
        if (start == 0) {
            const long before = cpu_ms(program.pid());
            std::this_thread::sleep_for(kIdleSpan);
            idle_cpu_ms_ = cpu_ms(program.pid()) - before;
        }
        // A second start opens the running program's window.
        ChildProcess(bin_ / "tarvenor", {}, user, log).wait();
        hide(program, wait_for_window(program, log, nullptr), program_.reopened_mb);
    }

    std::vector<std::string> bare_arguments(bool hidden) const {
        std::vector<std::string> arguments{std::to_string(width_), std::to_string(height_)};
        if (hidden) {
            arguments.emplace_back("--hidden");
        }
        return arguments;
    }

    void bare_shown(int start) {
        const auto log = work_ / ("bare" + std::to_string(start) + ".log");
        ChildProcess bare(bin_ / "bench_bare_window", bare_arguments(false), fresh_user("bare"),
                          log);
        double elapsed = 0;
        const xcb_window_t window = wait_for_window(bare, log, &elapsed);
        bare_.shown_ms.push_back(elapsed);
        bare_.shown_mb.push_back(resident_mb(bare.pid()));
        hide(bare, window, bare_.reopened_mb);
    }

    void bare_hidden(int start) {
        const auto log = work_ / ("bare_hidden" + std::to_string(start) + ".log");
        ChildProcess bare(bin_ / "bench_bare_window", bare_arguments(true), fresh_user("bare"),
                          log);
        wait_until_settled(bare.pid());
        bare_.hidden_mb.push_back(resident_mb(bare.pid()));
    }

    std::filesystem::path bin_;
    std::filesystem::path work_;
    XServer server_;
    WindowWatch watch_;
    int width_ = 0;
    int height_ = 0;
    Series program_;
    Series bare_;
    long idle_cpu_ms_ = -1;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_startup PROGRAM_FOLDER\n");
        return 2;
    }
    char pattern[] = "/tmp/bench_startup.XXXXXX";
    const char* work = mkdtemp(pattern);
    if (work == nullptr) {
        std::perror("bench_startup: mkdtemp");
        return 1;
    }
    int code = 0;
    try {
        StartupBench bench(std::filesystem::absolute(argv[1]), work);
        bench.run();
        bench.print();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_startup: %s\n", error.what());
        code = 1;
    }
    std::filesystem::remove_all(work);
    return code;
}
