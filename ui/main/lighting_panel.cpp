#include "ui/main/lighting_panel.h"

#include "ui/logic/outcome_texts.h"

#include "engine/lighting_presets.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/skin_keys.h"
#include "ui/main/lighting_controls.h"
#include "ui/skin/colour_button.h"
#include "ui/skin/image_button.h"
#include "ui/skin/placement.h"

#include <QComboBox>
#include <QKeyEvent>

namespace tarvenor {
namespace {

constexpr const char* kSection = skin_keys::kControls;
constexpr int kFrameWidth = 2;
constexpr const char* kChoicePictures[] = {"hong", "huang", "lv", "lan"};
constexpr const auto& kChoiceKeys = skin_keys::lighting::kColourChoices;
constexpr const char* kFixedPictures[] = {
    "dengup.bmp",    "dengdown.bmp",   "leftup.bmp",    "leftdown.bmp",   "rightup.bmp",
    "rightdown.bmp", "upup.bmp",       "updown.bmp",    "downup.bmp",     "downdown.bmp",
    "kuosan.bmp",    "kuosandown.bmp", "julong.bmp",    "julongdown.bmp", "sjsup.bmp",
    "sjsdown.bmp",   "user1up.bmp",    "user1down.bmp", "user2up.bmp",    "user2down.bmp"};
constexpr int kSliderPictures = 26;

QColor to_qcolor(ColourValue colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

ColourValue to_colour_value(const QColor& colour) {
    return static_cast<ColourValue>(colour.red()) |
           (static_cast<ColourValue>(colour.green()) << 8) |
           (static_cast<ColourValue>(colour.blue()) << 16);
}

} // namespace

LightingPanel::LightingPanel(QWidget& window, const IniFile& skin,
                             const std::filesystem::path& skin_folder, const LanguageFile& language,
                             const UserStorage& storage, KeyButton key_button)
    : QObject(&window), window_(window), skin_(skin), language_(language),
      key_button_(std::move(key_button)), logic_(storage) {
    find_pictures(skin_folder);
    make_controls();
    connect_controls();
    logic_.set_changed([this] { show_state(); });
    show_state();
}

void LightingPanel::find_pictures(const std::filesystem::path& skin_folder) {
    std::vector<std::string> names(std::begin(kFixedPictures), std::end(kFixedPictures));
    for (const char* choice : kChoicePictures) {
        names.push_back(std::string(choice) + ".bmp");
        names.push_back(std::string(choice) + "ok.bmp");
    }
    for (int n = 0; n < kSliderPictures; ++n) {
        names.push_back(std::to_string(n) + ".bmp");
    }
    for (const std::string& name : names) {
        pictures_.emplace(name, &SkinPictures::shared().picture(skin_folder / name));
    }
}

const SkinPicture& LightingPanel::picture(const std::string& name) const {
    return *pictures_.at(name);
}

QLabel* LightingPanel::make_label(const char* skin_key, const char* text_key) {
    auto* label = new QLabel(&window_);
    label->setText(QString::fromStdString(
        skin_.get(skin_keys::names_section(language_.is_english(), false), text_key)));
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    place_control(*label, skin_, kSection, skin_key);
    return label;
}

PictureButton* LightingPanel::make_picture(const char* skin_key) {
    auto* button = new PictureButton(&window_);
    button->setObjectName(QString::fromLatin1(skin_key));
    place_control(*button, skin_, kSection, skin_key);
    return button;
}

BitmapSlider* LightingPanel::make_slider(const char* skin_key) {
    auto* slider = new BitmapSlider(&window_);
    slider->setObjectName(QString::fromLatin1(skin_key));
    place_control(*slider, skin_, kSection, skin_key);
    return slider;
}

ColourButton* LightingPanel::make_colour_button(const char* skin_key) {
    auto* button = new ColourButton(&window_);
    button->setObjectName(QString::fromLatin1(skin_key));
    button->set_other_colour_text(QString::fromStdString(language_.text("COLOUR_OTHER")));
    place_control(*button, skin_, kSection, skin_key);
    return button;
}

void LightingPanel::make_colour_group(ColourGroupControls& group, const char* colour_label,
                                      const char* button, const char* random_label,
                                      const char* random_picture) {
    group.colour = make_colour_button(button);
    group.random = make_picture(random_picture);
    group.widgets = {make_label(colour_label, "Color"), group.colour,
                     make_label(random_label, "DC"), group.random};
}

void LightingPanel::make_controls() {
    switch_label_ = make_label(skin_keys::lighting::kSwitchLabel, "Deng");
    switch_ = make_picture(skin_keys::lighting::kSwitch);
    effects_ = new QComboBox(&window_);
    effects_->setObjectName(QString::fromLatin1(skin_keys::lighting::kEffectList));
    place_control(*effects_, skin_, kSection, skin_keys::lighting::kEffectList);
    effects_->installEventFilter(this);
    brightness_label_ = make_label(skin_keys::lighting::kBrightnessLabel, "Light");
    brightness_ = make_slider(skin_keys::lighting::kBrightness);
    speed_label_ = make_label(skin_keys::lighting::kSpeedLabel, "Speed");
    speed_ = make_slider(skin_keys::lighting::kSpeed);
    direction_.label = make_label(skin_keys::lighting::kDirectionLabel, "FX");
    direction_.left = make_picture(skin_keys::lighting::kDirectionLeft);
    direction_.right = make_picture(skin_keys::lighting::kDirectionRight);
    make_colour_group(group_a_, skin_keys::lighting::kColourALabel, skin_keys::lighting::kColourA,
                      skin_keys::lighting::kRandomALabel, skin_keys::lighting::kRandomA);
    make_colour_group(group_b_, skin_keys::lighting::kColourBLabel, skin_keys::lighting::kColourB,
                      skin_keys::lighting::kRandomBLabel, skin_keys::lighting::kRandomB);
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        choices_[i] = make_picture(kChoiceKeys[i]);
    }
    user_colour_ = make_colour_button(skin_keys::lighting::kUserColour);
    base_colour_ = make_colour_button(skin_keys::lighting::kBaseColour);
    tools_ = {make_picture(skin_keys::lighting::kTools[0]),
              make_picture(skin_keys::lighting::kTools[1])};
    presets_ = new QComboBox(&window_);
    presets_->setObjectName(QString::fromLatin1(skin_keys::lighting::kPresetList));
    place_control(*presets_, skin_, kSection, skin_keys::lighting::kPresetList);
    for (int preset = 0; preset < kPresetCount; ++preset) {
        presets_->addItem(QString::fromUtf8(preset_name(preset).data(),
                                            static_cast<qsizetype>(preset_name(preset).size())));
    }
    presets_->setCurrentIndex(0);
    per_key_ = {make_label(skin_keys::lighting::kUserColourLabel, "Color"),
                user_colour_,
                make_label(skin_keys::lighting::kBaseColourLabel, "JColor"),
                base_colour_,
                make_label(skin_keys::lighting::kToolLabel, "Tool"),
                tools_[0],
                tools_[1],
                presets_};
    // Where no effect shows anything: the word that a change did not reach the keyboard.
    notice_ = new QLabel(&window_);
    notice_->setObjectName(QStringLiteral("lighting_notice"));
    notice_->setStyleSheet(QStringLiteral("color: #ffb040; background: transparent;"));
    const SkinRect place = place_control(*notice_, skin_, kSection, skin_keys::lighting::kNotice);
    // Up to the panel's right side, and a second line below when the language needs it.
    notice_->setWordWrap(true);
    notice_->resize(place.w * 7, place.h + 10);
}

bool LightingPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == effects_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void LightingPanel::connect_controls() {
    connect(switch_, &QAbstractButton::clicked, this, &LightingPanel::on_switch_clicked);
    connect(effects_, &QComboBox::activated, this,
            [this](int position) { logic_.select_effect(position); });
    connect(brightness_, &BitmapSlider::position_changed, this,
            [this](int position) { logic_.move_brightness(position); });
    connect(speed_, &BitmapSlider::position_changed, this,
            [this](int position) { logic_.move_speed(position); });
    connect(direction_.left, &QAbstractButton::clicked, this,
            [this] { logic_.click_direction(true); });
    connect(direction_.right, &QAbstractButton::clicked, this,
            [this] { logic_.click_direction(false); });
    for (ColourGroupControls* group : {&group_a_, &group_b_}) {
        ColourButton* button = group->colour;
        connect(button, &ColourButton::colour_chosen, this,
                [this, button] { logic_.choose_effect_colour(to_colour_value(button->colour())); });
        connect(group->random, &QAbstractButton::clicked, this, [this] { logic_.click_random(); });
    }
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        connect(choices_[i], &QAbstractButton::clicked, this,
                [this, i] { logic_.choose_colour_choice(static_cast<int>(i)); });
    }
    for (std::size_t i = 0; i < tools_.size(); ++i) {
        connect(tools_[i], &QAbstractButton::clicked, this,
                [this, i] { logic_.choose_tool(static_cast<int>(i)); });
    }
    connect(user_colour_, &ColourButton::colour_chosen, this,
            [this] { logic_.choose_user_colour(to_colour_value(user_colour_->colour())); });
    connect(base_colour_, &ColourButton::colour_chosen, this,
            [this] { logic_.choose_base_colour(to_colour_value(base_colour_->colour())); });
    connect(presets_, &QComboBox::activated, this,
            [this](int preset) { logic_.apply_preset(preset); });
}

void LightingPanel::on_switch_clicked() {
    const bool was_on = logic_.light_switch();
    logic_.click_light_switch();
    if (was_on && switch_off_) {
        switch_off_();
    }
}

void LightingPanel::show_state() {
    show_effect_list();
    show_pictures();
    show_controls(logic_.shown_controls());
    show_direction();
    show_frames();
    // A change the keyboard did not take, or a read it did not answer: said where it shows.
    if (logic_.write_failed() || logic_.read_failed()) {
        notice_->setText(QString::fromStdString(
            language_.text(logic_.write_failed() ? outcome_text::kLightingWriteFailed
                                                 : outcome_text::kLightingReadFailed)));
    }
    notice_->setVisible(logic_.write_failed() || logic_.read_failed());
    if (shown_) {
        shown_();
    }
}

void LightingPanel::show_effect_list() {
    const std::vector<int>& effects = logic_.effect_list();
    if (effects != shown_effects_) {
        const QSignalBlocker block(effects_);
        effects_->clear();
        for (const int effect : effects) {
            const std::string name =
                skin_.get(skin_keys::names_section(language_.is_english(), true),
                          std::to_string(effect), "1");
            effects_->addItem(QString::fromStdString(name), effect);
        }
        shown_effects_ = effects;
    }
    const QSignalBlocker block(effects_);
    effects_->setCurrentIndex(logic_.selected_position());
}

void LightingPanel::show_pictures() {
    const LightingRecord& record = logic_.record();
    switch_->set_picture(picture(logic_.light_switch() ? "dengdown.bmp" : "dengup.bmp"));
    brightness_->set_position(slider_position(record.brightness()));
    brightness_->set_picture(picture(logic_.brightness_image()));
    speed_->set_position(speed_slider_position(record.speed()));
    speed_->set_picture(picture(logic_.speed_image()));
    const SkinPicture& random = picture(record.random_colour() ? "sjsdown.bmp" : "sjsup.bmp");
    for (ColourGroupControls* group : {&group_a_, &group_b_}) {
        group->colour->set_colour(to_qcolor(record.effect_colour()));
        group->random->set_picture(random);
    }
    user_colour_->set_colour(to_qcolor(record.user_colour()));
    base_colour_->set_colour(to_qcolor(record.base_colour()));
    const bool base_tool = record.paint_tool() == 1;
    tools_[0]->set_picture(picture(base_tool ? "user1up.bmp" : "user1down.bmp"));
    tools_[1]->set_picture(picture(base_tool ? "user2down.bmp" : "user2up.bmp"));
    const int choice = record.colour_choice() > 3 ? 0 : record.colour_choice();
    for (int i = 0; i < 4; ++i) {
        const std::string name = std::string(kChoicePictures[i]) + (i == choice ? "ok" : "");
        choices_[static_cast<std::size_t>(i)]->set_picture(picture(name + ".bmp"));
    }
}

void LightingPanel::show_controls(const EffectControls& shown) {
    switch_label_->setVisible(true);
    switch_->setVisible(true);
    effects_->setVisible(shown.effect_list);
    brightness_label_->setVisible(shown.brightness);
    brightness_->setVisible(shown.brightness);
    speed_label_->setVisible(shown.speed);
    speed_->setVisible(shown.speed);
    for (QWidget* widget :
         {static_cast<QWidget*>(direction_.label), static_cast<QWidget*>(direction_.left),
          static_cast<QWidget*>(direction_.right)}) {
        widget->setVisible(shown.direction);
    }
    for (QWidget* widget : group_a_.widgets) {
        widget->setVisible(shown.colour == ColourGroup::A);
    }
    for (QWidget* widget : group_b_.widgets) {
        widget->setVisible(shown.colour == ColourGroup::B);
    }
    for (PictureButton* choice : choices_) {
        choice->setVisible(shown.colour_choice);
    }
    for (QWidget* widget : per_key_) {
        widget->setVisible(shown.per_key);
    }
}

void LightingPanel::show_direction() {
    const DirectionPictures pictures = logic_.direction();
    direction_.left->set_picture(picture(pictures.left));
    direction_.right->set_picture(picture(pictures.right));
    const std::string layout = direction_layout(logic_.record().effect());
    if (layout == direction_layout_) {
        return;
    }
    direction_layout_ = layout;
    move_control(*direction_.label, skin_, kSection, skin_keys::lighting::kDirectionLabel + layout);
    move_control(*direction_.left, skin_, kSection, skin_keys::lighting::kDirectionLeft + layout);
    move_control(*direction_.right, skin_, kSection, skin_keys::lighting::kDirectionRight + layout);
}

void LightingPanel::show_frames() {
    const bool cleared = logic_.frame_clears() != frame_clears_seen_;
    frame_clears_seen_ = logic_.frame_clears();
    for (const int id : framed_key_buttons()) {
        ImageButton* key = key_button_(id);
        if (key == nullptr) {
            continue;
        }
        const auto frame = logic_.frame(id);
        if (cleared) {
            key->set_selected(false, false);
        }
        auto& shown = shown_frames_[id];
        if (frame != shown || cleared) {
            shown = frame;
            key->set_outline(to_qcolor(frame.value_or(0)), kFrameWidth, frame.has_value());
        }
    }
}

} // namespace tarvenor
