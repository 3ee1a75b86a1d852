#include "ui/main/busy_bar.h"

#include "ui/skin/state_surface.h"

namespace tarvenor {

BusyBar::BusyBar(QWidget* parent, const std::filesystem::path& skin_folder) : QLabel(parent) {
    for (int k = 0; k < BusyBarLogic::kFrames; ++k) {
        frames_[k] =
            QPixmap::fromImage(load_skin_picture(skin_folder / BusyBarLogic::frame_file(k)));
    }
    frames_timer_.setInterval(BusyBarLogic::kFrameInterval);
    connect(&frames_timer_, &QTimer::timeout, this, &BusyBar::show_next_frame);
    hide();
}

void BusyBar::job_started() {
    if (!logic_.job_started()) {
        return;
    }
    show_next_frame();
    show();
    frames_timer_.start();
}

void BusyBar::job_finished() {
    if (logic_.job_finished()) {
        QTimer::singleShot(BusyBarLogic::kHideDelay, this, &BusyBar::hide_if_due);
    }
}

void BusyBar::show_next_frame() {
    setPixmap(frames_[logic_.next_frame()]);
}

void BusyBar::hide_if_due() {
    if (logic_.hide_due()) {
        frames_timer_.stop();
        hide();
    }
}

} // namespace tarvenor
