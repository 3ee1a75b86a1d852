#include "x_server.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace bench {

XServer::XServer(const std::filesystem::path& work) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("no pipe for Xvfb");
    }
    // The server picks a free display itself and writes its number to descriptor 3.
    xvfb_ = std::make_unique<ChildProcess>(
        "/usr/bin/Xvfb",
        std::vector<std::string>{"-displayfd", "3", "-screen", "0", "1600x1000x24", "-nolisten",
                                 "tcp"},
        std::map<std::string, std::string>{}, work / "xvfb.log", ends[1]);
    close(ends[1]);
    std::string number;
    char c = 0;
    while (read(ends[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(ends[0]);
    if (number.empty()) {
        throw std::runtime_error("Xvfb did not start (see " + (work / "xvfb.log").string() + ")");
    }
    display_ = ":" + number;
}

void XServer::start_tray(const std::filesystem::path& work) {
    tray_ = std::make_unique<ChildProcess>(
        "/usr/bin/trayer",
        std::vector<std::string>{"--edge", "bottom", "--align", "right", "--width", "10",
                                 "--height", "32"},
        std::map<std::string, std::string>{{"DISPLAY", display_}}, work / "trayer.log");
}

} // namespace bench
