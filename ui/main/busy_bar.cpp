#include "ui/main/busy_bar.h"

#include <QPainter>

namespace tarvenor {

BusyBar::BusyBar(QWidget* parent, const std::filesystem::path& skin_folder) : QWidget(parent) {
    for (int k = 0; k < BusyBarLogic::kFrames; ++k) {
        frames_[k] = &SkinPictures::shared().picture(skin_folder / BusyBarLogic::frame_file(k));
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
    frame_ = logic_.next_frame();
    update();
}

void BusyBar::hide_if_due() {
    if (logic_.hide_due()) {
        frames_timer_.stop();
        hide();
    }
}

void BusyBar::paintEvent(QPaintEvent*) {
    // At its own size, at the left and centred in height, as a label shows a picture.
    const SkinPicture& frame = *frames_[static_cast<std::size_t>(frame_)];
    QPainter painter(this);
    draw_skin_picture(painter, QPointF(0, (height() - frame.size().height()) / 2), frame);
}

} // namespace tarvenor
