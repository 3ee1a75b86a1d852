#include "ui/logic/busy_bar_logic.h"

namespace tarvenor {

bool BusyBarLogic::job_started() {
    ++running_;
    if (visible_) {
        return false;
    }
    visible_ = true;
    frame_ = 0;
    return true;
}

bool BusyBarLogic::job_finished() {
    if (running_ == 0) {
        return false;
    }
    --running_;
    return running_ == 0;
}

bool BusyBarLogic::hide_due() {
    if (running_ > 0 || !visible_) {
        return false;
    }
    visible_ = false;
    return true;
}

int BusyBarLogic::next_frame() {
    const int shown = frame_;
    frame_ = (frame_ + 1) % kFrames;
    return shown;
}

std::string BusyBarLogic::frame_file(int frame) {
    return "jdt" + std::to_string(frame + 1) + ".bmp";
}

} // namespace tarvenor
