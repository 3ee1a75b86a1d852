#pragma once

#include <chrono>
#include <string>

namespace tarvenor {

// The busy bar while keyboard jobs run: ten frames shown in turn every 50 ms, hidden 100 ms after
// the last job ends. Jobs may overlap; the bar runs while any is running.
class BusyBarLogic {
public:
    static constexpr int kFrames = 10;
    static constexpr std::chrono::milliseconds kFrameInterval{50};
    static constexpr std::chrono::milliseconds kHideDelay{100};

    // True when the bar must appear and its animation start.
    bool job_started();
    // True when the last running job ended: the hide is due after kHideDelay.
    bool job_finished();
    // The hide delay ran out; true when the bar is to go (no job started meanwhile).
    bool hide_due();
    // The frame to show now (0..9); the next call shows the one after, 9 wraps to 0.
    int next_frame();
    bool visible() const { return visible_; }
    int running() const { return running_; }

    // "jdt1.bmp".."jdt10.bmp" for frames 0..9.
    static std::string frame_file(int frame);

private:
    int running_ = 0;
    int frame_ = 0;
    bool visible_ = false;
};

} // namespace tarvenor
