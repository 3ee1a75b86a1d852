// Shows the main window's skin with a few keys hovered, pressed and assigned, for looking at the
// artwork without a keyboard; with --screenshot it saves the window as a PNG and quits.

#include "model/key_codes.h"
#include "model/text_table.h"
#include "ui/skin/colour_button.h"
#include "ui/skin/image_button.h"
#include "ui/skin/placement.h"
#include "ui/skin/skin_error.h"
#include "ui/skin/skinned_dialog.h"
#include "ui/skin/state_surface.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleFactory>
#include <QTimer>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace tarvenor {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSection = "BUTTONINFO";

std::string key_skin_name(KeyCode code) {
    char name[16];
    std::snprintf(name, sizeof name, "KEY_%03X", key_index_of(code));
    return name;
}

class GalleryWindow : public SkinnedDialog {
public:
    explicit GalleryWindow(const fs::path& skins)
        : SkinnedDialog(nullptr, skins / "Main.ini", skins) {
        apply_skin();
        const QSize client = background().size();
        const char* names[] = {"main_normal.jpg", "main_over.jpg", "main_down.jpg",
                               "main_disable.jpg"};
        for (std::size_t i = 0; i < states_.size(); ++i) {
            states_[i] = StateSurface::load(skins / names[i], client);
        }
        arrows_ = StateSurface::load(skins / "Arrow.jpg", client);
        place_keys();
        place_buttons();
        place_lighting_panel(skins);
        show_states();
    }

private:
    const StateSurface* normal() const { return &states_[0]; }
    const StateSurface* over() const { return &states_[1]; }
    const StateSurface* down() const { return &states_[2]; }
    const StateSurface* disable() const { return &states_[3]; }

    ImageButton* image(const std::string& key, const FaceImages& faces) {
        auto* button = new ImageButton(this);
        place_image_control(*button, skin(), kSection, key, faces);
        buttons_[key] = button;
        return button;
    }

    void place_keys() {
        const FaceImages key_faces{normal(), over(), down(), normal(), disable()};
        for (int j = 1; j <= 9; ++j) {
            image("FUNC_G" + std::to_string(j), key_faces);
        }
        for (const KeyboardKey& key : keyboard_key_list()) {
            image(key_skin_name(key.code), key_faces);
        }
        image("KEY_FN", {normal(), over(), down(), normal(), disable()});
    }

    void caption(const std::string& key, const QString& text, int points = 9) {
        ImageButton* button = buttons_.at(key);
        button->setText(text);
        button->set_text_style(true, points, QStringLiteral("DejaVu Sans"), Qt::white,
                               Qt::AlignCenter | Qt::TextSingleLine);
    }

    void place_buttons() {
        const FaceImages plain{normal(), over(), down(), normal(), normal()};
        for (const char* key :
             {"FUNC_MACRO", "CONTROL_OK", "CONTROL_CANCEL", "CONTROL_HELP", "CONTROL_CLOSE",
              "CONTROL_LINK", "CONTROL_MINIMIZE", "CONTROL_MENU"}) {
            image(key, plain);
        }
        image("KESTRO_LINK", {normal(), over(), disable(), normal(), normal()});
        image("CONTROL2_APPLY", {normal(), over(), down(), disable(), normal()});
        for (const char* key : {"LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL", "LOCK_AB"}) {
            image(key, {normal(), normal(), normal(), normal(), over()});
        }
        image("FLIP_0", {normal(), normal(), normal(), normal(), disable()});
        for (const char* key :
             {"FLIP_1", "FLIP_2", "FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3", "FUNC_DEFAULT",
              "FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3", "FUNC_REPORT4"}) {
            image(key, {normal(), over(), down(), normal(), disable()});
        }
        image("KESTRO_VER", {normal(), normal(), normal(), normal(), normal()})->setEnabled(false);
        image("FUNC_PROFILES", plain);
        caption("FUNC_PROFILE1", QStringLiteral("Profile 1"));
        caption("FUNC_PROFILE2", QStringLiteral("Profile 2"));
        caption("FUNC_PROFILE3", QStringLiteral("Profile 3"));
        caption("FUNC_DEFAULT", QStringLiteral("Default"));
        caption("FUNC_MACRO", QStringLiteral("Macro"));
        caption("CONTROL2_APPLY", QStringLiteral("Apply"));
        caption("CONTROL_OK", QStringLiteral("OK"));
        caption("CONTROL_CANCEL", QStringLiteral("Cancel"));
        ImageButton* version = buttons_.at("KESTRO_VER");
        version->setText(QStringLiteral("Keyboard settings 0.1"));
        version->set_text_style(true, 8, QStringLiteral("DejaVu Sans"), QColor(228, 228, 228),
                                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
        ImageButton* profiles = buttons_.at("FUNC_PROFILES");
        // The name it shows before a keyboard has told its profile, the longest it shows.
        profiles->setText(QString::fromStdString(TextTable().text(TextKey::DefaultProfileName)));
        profiles->set_text_style(true, 10, QStringLiteral("DejaVu Sans"), QColor(228, 228, 228),
                                 Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine);
        profiles->set_text_rotation(268, true);
        for (const auto& [key, face] : {std::pair{"LEFT_ARROW", "DOWN_ARROW_LEFT1"},
                                        std::pair{"RIGHT_ARROW", "DOWN_ARROW_RIGHT1"}}) {
            auto* arrow = new ImageButton(this);
            place_with_face(*arrow, skin(), kSection, key, "BUTTONINFO2", face, arrows_);
        }
    }

    QLabel* label(const char* key, const char* name) {
        auto* text = new QLabel(QString::fromStdString(skin().get("Control_Name1", name)), this);
        text->setStyleSheet(QStringLiteral("color: white;"));
        place_control(*text, skin(), kSection, key);
        return text;
    }

    void picture(const char* key, const fs::path& file) {
        auto* shown = new QLabel(this);
        shown->setPixmap(QPixmap::fromImage(load_skin_picture(file)));
        place_control(*shown, skin(), kSection, key);
    }

    // The panel as it shows effect 1: brightness, speed, direction and colour.
    void place_lighting_panel(const fs::path& skins) {
        label("CONTROL_DengStatic", "Deng");
        picture("CONTROL_DengStaPic", skins / "dengdown.bmp");
        auto* effects = new QComboBox(this);
        for (int e = 1; e <= 20; ++e) {
            const std::string name = skin().get("Mode1", std::to_string(e));
            if (!name.empty()) {
                effects->addItem(QString::fromStdString(name));
            }
        }
        place_control(*effects, skin(), kSection, "CONTROL_XGcombox");
        label("CONTROL_LightStatic", "Light");
        picture("CONTROL_LightSlider", skins / "3.bmp");
        label("CONTROL_SpeedStatic", "Speed");
        picture("CONTROL_SpeedSlider", skins / "7.bmp");
        label("CONTROL_HXysStatic", "Color");
        auto* colour = new ColourButton(this);
        colour->set_colour(QColor(0x2c, 0xc7, 0xff));
        place_control(*colour, skin(), kSection, "CONTROL_HXysButton");
        label("CONTROL_HXsjsStatic", "DC");
        picture("CONTROL_HXsjsStaPic", skins / "sjsup.bmp");
        label("CONTROL_BLFXStatic2", "FX");
        picture("CONTROL_BLFXLStaPic2", skins / "leftdown.bmp");
        picture("CONTROL_BLFXRStaPic2", skins / "rightup.bmp");
        label("CONTROL_UsbStatic", "Usb");
    }

    // Hover on W, a press on A, assignments on a few keys and G keys, profile 1 and 1000 Hz.
    void show_states() {
        for (const KeyCode code :
             {KeyCode{0x012}, KeyCode{0x013}, KeyCode{0x03F}, KeyCode{0x04C}, KeyCode{0x039}}) {
            buttons_.at(key_skin_name(code))->set_selected(true);
        }
        for (const char* key : {"FUNC_G1", "FUNC_G2", "FUNC_G6", "FUNC_PROFILE1", "FUNC_REPORT4"}) {
            buttons_.at(key)->set_selected(true);
        }
        buttons_.at(key_skin_name(0x01E))->setDown(true);
        buttons_.at("CONTROL2_APPLY")->setEnabled(false);
        buttons_.at("LOCK_NUM")->set_selected(true);
        buttons_.at("FLIP_0")->set_selected(true);
        ImageButton* hovered = buttons_.at(key_skin_name(0x011));
        QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), hovered->mapToGlobal(QPointF(4, 4)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(hovered, &move);
    }

    std::array<StateSurface, 4> states_;
    StateSurface arrows_;
    std::map<std::string, ImageButton*> buttons_;
};

// Standard widgets on the panels in the skin's dark colours.
QPalette dark_palette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x1c, 0x1f, 0x26));
    palette.setColor(QPalette::WindowText, QColor(0xe4, 0xe7, 0xec));
    palette.setColor(QPalette::Base, QColor(0x11, 0x13, 0x17));
    palette.setColor(QPalette::Text, QColor(0xe4, 0xe7, 0xec));
    palette.setColor(QPalette::Button, QColor(0x2a, 0x2e, 0x37));
    palette.setColor(QPalette::ButtonText, QColor(0xe4, 0xe7, 0xec));
    palette.setColor(QPalette::Highlight, QColor(0x0c, 0x5d, 0x7c));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

// The window as it appears on screen: outside its outline is transparent.
QImage shaped_grab(QWidget& window) {
    QImage shot = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QImage shaped(shot.size(), QImage::Format_ARGB32);
    shaped.fill(Qt::transparent);
    QPainter painter(&shaped);
    painter.setClipRegion(window.mask());
    painter.drawImage(0, 0, shot);
    return shaped;
}

} // namespace
} // namespace tarvenor

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(tarvenor::dark_palette());
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: skin-gallery <skin folder> [--screenshot <file.png>]\n");
        return 2;
    }
    try {
        tarvenor::GalleryWindow window(args.at(1).toStdString());
        window.show();
        const int shot = args.indexOf(QStringLiteral("--screenshot"));
        if (shot > 0 && shot + 1 < args.size()) {
            const QString file = args.at(shot + 1);
            QTimer::singleShot(0, &window, [&window, file] {
                const bool saved = tarvenor::shaped_grab(window).save(file);
                QApplication::exit(saved ? 0 : 1);
            });
        }
        return app.exec();
    } catch (const tarvenor::SkinError& error) {
        std::fprintf(stderr, "skin-gallery: %s\n", error.what());
        return 1;
    }
}
