#pragma once

#include "ui/logic/busy_bar_logic.h"
#include "ui/skin/skin_pictures.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <filesystem>

namespace tarvenor {

// The busy bar: shown while keyboard jobs run, animating its ten frames; its timers run only
// then, so an idle window costs no processor time. A frame is decoded when it is first drawn.
class BusyBar : public QWidget {
    Q_OBJECT
public:
    // Throws SkinError naming a frame picture that is missing.
    BusyBar(QWidget* parent, const std::filesystem::path& skin_folder);

    void job_started();
    void job_finished();
    const BusyBarLogic& logic() const { return logic_; }
    bool animating() const { return frames_timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void show_next_frame();
    void hide_if_due();

    BusyBarLogic logic_;
    std::array<const SkinPicture*, BusyBarLogic::kFrames> frames_{};
    int frame_ = 0;
    QTimer frames_timer_;
};

} // namespace tarvenor
