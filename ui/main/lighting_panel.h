#pragma once

#include "model/ini_file.h"
#include "model/text_table.h"
#include "ui/logic/lighting_panel_logic.h"
#include "ui/skin/skin_pictures.h"

#include <QLabel>
#include <QObject>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QComboBox;

namespace tarvenor {

class BitmapSlider;
class ImageButton;
class ColourButton;
class PictureButton;

// The lighting panel's widgets on the main window, placed from the main skin. They show what
// LightingPanelLogic holds and hand every click and drag to it; the key frames go on the
// window's key buttons.
class LightingPanel : public QObject {
    Q_OBJECT
public:
    using KeyButton = std::function<ImageButton*(int control_id)>;

    // Throws SkinError naming a lighting picture that is missing.
    LightingPanel(QWidget& window, const IniFile& skin, const std::filesystem::path& skin_folder,
                  const LanguageFile& language, const UserStorage& storage, KeyButton key_button);

    LightingPanelLogic& logic() { return logic_; }
    // Runs after the switch turned off: the keys get their assigned looks back.
    void set_switch_off_hook(std::function<void()> hook) { switch_off_ = std::move(hook); }
    // Runs after the panel showed a new state (the report-rate buttons follow the record).
    void set_shown_hook(std::function<void()> hook) { shown_ = std::move(hook); }

    QComboBox* effect_box() const { return effects_; }
    QComboBox* preset_box() const { return presets_; }
    BitmapSlider* brightness_slider() const { return brightness_; }
    PictureButton* light_switch() const { return switch_; }
    QLabel* notice() const { return notice_; }

protected:
    // The four arrow keys never change the effect while the effect list has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct DirectionGroup {
        QLabel* label = nullptr;
        PictureButton* left = nullptr;
        PictureButton* right = nullptr;
    };
    struct ColourGroupControls {
        std::vector<QWidget*> widgets;
        ColourButton* colour = nullptr;
        PictureButton* random = nullptr;
    };

    void find_pictures(const std::filesystem::path& skin_folder);
    const SkinPicture& picture(const std::string& name) const;
    QLabel* make_label(const char* skin_key, const char* text_key);
    PictureButton* make_picture(const char* skin_key);
    BitmapSlider* make_slider(const char* skin_key);
    ColourButton* make_colour_button(const char* skin_key);
    void make_colour_group(ColourGroupControls& group, const char* prefix_colour,
                           const char* prefix_button, const char* random_label,
                           const char* random_picture);
    void make_controls();
    void connect_controls();
    void show_state();
    void show_effect_list();
    void show_controls(const EffectControls& shown);
    void show_pictures();
    void show_direction();
    void show_frames();
    void on_switch_clicked();

    QWidget& window_;
    const IniFile& skin_;
    const LanguageFile& language_;
    KeyButton key_button_;
    std::function<void()> switch_off_;
    std::function<void()> shown_;
    LightingPanelLogic logic_;
    std::map<std::string, const SkinPicture*> pictures_;

    QLabel* switch_label_ = nullptr;
    PictureButton* switch_ = nullptr;
    QComboBox* effects_ = nullptr;
    QLabel* brightness_label_ = nullptr;
    BitmapSlider* brightness_ = nullptr;
    QLabel* speed_label_ = nullptr;
    BitmapSlider* speed_ = nullptr;
    DirectionGroup direction_;
    std::string direction_layout_ = "?";
    ColourGroupControls group_a_;
    ColourGroupControls group_b_;
    std::array<PictureButton*, 4> choices_{};
    std::vector<QWidget*> per_key_;
    ColourButton* user_colour_ = nullptr;
    ColourButton* base_colour_ = nullptr;
    std::array<PictureButton*, 2> tools_{};
    QComboBox* presets_ = nullptr;
    QLabel* notice_ = nullptr;
    std::vector<int> shown_effects_;
    int frame_clears_seen_ = 0;
    std::map<int, std::optional<ColourValue>> shown_frames_;
};

} // namespace tarvenor
