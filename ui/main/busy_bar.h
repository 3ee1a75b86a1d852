#pragma once

#include "ui/logic/busy_bar_logic.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <array>
#include <filesystem>

namespace tarvenor {

// The busy bar: shown while keyboard jobs run, animating its ten frames; its timers run only
// then, so an idle window costs no processor time.
class BusyBar : public QLabel {
    Q_OBJECT
public:
    BusyBar(QWidget* parent, const std::filesystem::path& skin_folder);

    void job_started();
    void job_finished();
    const BusyBarLogic& logic() const { return logic_; }
    bool animating() const { return frames_timer_.isActive(); }

private:
    void show_next_frame();
    void hide_if_due();

    BusyBarLogic logic_;
    std::array<QPixmap, BusyBarLogic::kFrames> frames_;
    QTimer frames_timer_;
};

} // namespace tarvenor
