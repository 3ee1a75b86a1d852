#pragma once

#include "child_process.h"

#include <filesystem>
#include <memory>
#include <string>

namespace bench {

// A private Xvfb display (1600x1000, 24 bits) with a notification area (trayer) on it, ended with
// the object.
class XServer {
public:
    XServer(const std::filesystem::path& work);

    // ":N"
    const std::string& display() const { return display_; }
    void start_tray(const std::filesystem::path& work);

private:
    std::unique_ptr<ChildProcess> xvfb_;
    std::unique_ptr<ChildProcess> tray_;
    std::string display_;
};

} // namespace bench
