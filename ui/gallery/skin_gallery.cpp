// Shows the main window's skin with a few keys hovered, pressed and assigned, for looking at the
// artwork without a keyboard; with --screenshot it saves the window as a PNG and quits.

#include "model/key_codes.h"
#include "model/text_table.h"
#include "ui/logic/skin_keys.h"
#include "ui/skin/colour_button.h"
#include "ui/skin/dark_look.h"
#include "ui/skin/image_button.h"
#include "ui/skin/placement.h"
#include "ui/skin/skin_error.h"
#include "ui/skin/skinned_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <array>
#include <map>
#include <memory>
#include <string>

namespace tarvenor {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSection = skin_keys::kControls;

std::string key_skin_name(KeyCode code) {
    return skin_keys::main_window::keyboard_key(key_index_of(code));
}

class GalleryWindow : public SkinnedDialog {
public:
    explicit GalleryWindow(const fs::path& skins)
        : SkinnedDialog(nullptr, skins / "Main.ini", skins) {
        apply_skin();
        const char* names[] = {"main_normal.jpg", "main_over.jpg", "main_down.jpg",
                               "main_disable.jpg"};
        for (std::size_t i = 0; i < states_.size(); ++i) {
            states_[i] = &skin_picture(names[i]);
        }
        arrows_ = &skin_picture("Arrow.jpg");
        place_keys();
        place_buttons();
        place_lighting_panel(skins);
        show_states();
    }

private:
    const SkinPicture* normal() const { return states_[0]; }
    const SkinPicture* over() const { return states_[1]; }
    const SkinPicture* down() const { return states_[2]; }
    const SkinPicture* disable() const { return states_[3]; }

    ImageButton* image(const std::string& key, const FaceImages& faces) {
        auto* button = new ImageButton(this);
        place_image_control(*button, skin(), kSection, key, faces);
        buttons_[key] = button;
        return button;
    }

    void place_keys() {
        const FaceImages key_faces{normal(), over(), down(), normal(), disable()};
        for (int j = 0; j < 9; ++j) {
            image(skin_keys::main_window::g_key(j), key_faces);
        }
        for (const KeyboardKey& key : keyboard_key_list()) {
            image(key_skin_name(key.code), key_faces);
        }
        image(skin_keys::main_window::kFn, {normal(), over(), down(), normal(), disable()});
    }

    void caption(const std::string& key, const QString& text, int points = 9) {
        ImageButton* button = buttons_.at(key);
        button->setText(text);
        button->set_text_style(true, points, QStringLiteral("DejaVu Sans"), Qt::white,
                               Qt::AlignCenter | Qt::TextSingleLine);
    }

    void place_buttons() {
        const FaceImages plain{normal(), over(), down(), normal(), normal()};
        for (const char* key : {skin_keys::main_window::kMacroEdit, skin_keys::kOk,
                                skin_keys::kCancel, skin_keys::main_window::kHelp,
                                skin_keys::main_window::kClose, skin_keys::main_window::kVendorLink,
                                skin_keys::main_window::kMinimise, skin_keys::main_window::kMenu}) {
            image(key, plain);
        }
        image(skin_keys::main_window::kSkinLink, {normal(), over(), disable(), normal(), normal()});
        image(skin_keys::kApply, {normal(), over(), down(), disable(), normal()});
        for (const char* key :
             {skin_keys::main_window::kCapsLock, skin_keys::main_window::kNumLock,
              skin_keys::main_window::kScrollLock, skin_keys::main_window::kBankIndicator}) {
            image(key, {normal(), normal(), normal(), normal(), over()});
        }
        image(skin_keys::main_window::kFlipIndicator,
              {normal(), normal(), normal(), normal(), disable()});
        for (const char* key :
             {skin_keys::main_window::kFlipLeft, skin_keys::main_window::kFlipRight,
              skin_keys::main_window::kProfileButtons[0],
              skin_keys::main_window::kProfileButtons[1],
              skin_keys::main_window::kProfileButtons[2], skin_keys::main_window::kDefault,
              skin_keys::main_window::kReportRateButtons[0],
              skin_keys::main_window::kReportRateButtons[1],
              skin_keys::main_window::kReportRateButtons[2],
              skin_keys::main_window::kReportRateButtons[3]}) {
            image(key, {normal(), over(), down(), normal(), disable()});
        }
        image(skin_keys::main_window::kVersion, {normal(), normal(), normal(), normal(), normal()})
            ->setEnabled(false);
        image(skin_keys::main_window::kProfiles, plain);
        caption(skin_keys::main_window::kProfileButtons[0], QStringLiteral("Profile 1"));
        caption(skin_keys::main_window::kProfileButtons[1], QStringLiteral("Profile 2"));
        caption(skin_keys::main_window::kProfileButtons[2], QStringLiteral("Profile 3"));
        caption(skin_keys::main_window::kDefault, QStringLiteral("Default"));
        caption(skin_keys::main_window::kMacroEdit, QStringLiteral("Macro"));
        caption(skin_keys::kApply, QStringLiteral("Apply"));
        caption(skin_keys::kOk, QStringLiteral("OK"));
        caption(skin_keys::kCancel, QStringLiteral("Cancel"));
        ImageButton* version = buttons_.at(skin_keys::main_window::kVersion);
        version->setText(QStringLiteral("Keyboard settings 0.1"));
        version->set_text_style(true, 8, QStringLiteral("DejaVu Sans"), QColor(228, 228, 228),
                                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
        ImageButton* profiles = buttons_.at(skin_keys::main_window::kProfiles);
        // The name it shows before a keyboard has told its profile, the longest it shows.
        profiles->setText(QString::fromStdString(TextTable().text(TextKey::DefaultProfileName)));
        profiles->set_text_style(true, 10, QStringLiteral("DejaVu Sans"), QColor(228, 228, 228),
                                 Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine);
        profiles->set_text_rotation(268, true);
        for (const auto& [key, face] :
             {std::pair{skin_keys::main_window::kLeftArrow, skin_keys::main_window::kLeftArrowDown},
              std::pair{skin_keys::main_window::kRightArrow,
                        skin_keys::main_window::kRightArrowDown}}) {
            auto* arrow = new ImageButton(this);
            place_with_face(*arrow, skin(), kSection, key, skin_keys::kArrowFaces, face, *arrows_);
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
        shown->setPixmap(SkinPictures::shared().picture(file).pixmap(devicePixelRatio()));
        place_control(*shown, skin(), kSection, key);
    }

    // The panel as it shows effect 1: brightness, speed, direction and colour.
    void place_lighting_panel(const fs::path& skins) {
        label(skin_keys::lighting::kSwitchLabel, "Deng");
        picture(skin_keys::lighting::kSwitch, skins / "dengdown.bmp");
        auto* effects = new QComboBox(this);
        for (int e = 1; e <= 20; ++e) {
            const std::string name = skin().get("Mode1", std::to_string(e));
            if (!name.empty()) {
                effects->addItem(QString::fromStdString(name));
            }
        }
        place_control(*effects, skin(), kSection, skin_keys::lighting::kEffectList);
        label(skin_keys::lighting::kBrightnessLabel, "Light");
        picture(skin_keys::lighting::kBrightness, skins / "3.bmp");
        label(skin_keys::lighting::kSpeedLabel, "Speed");
        picture(skin_keys::lighting::kSpeed, skins / "7.bmp");
        label(skin_keys::lighting::kColourALabel, "Color");
        auto* colour = new ColourButton(this);
        colour->set_colour(QColor(0x2c, 0xc7, 0xff));
        place_control(*colour, skin(), kSection, skin_keys::lighting::kColourA);
        label(skin_keys::lighting::kRandomALabel, "DC");
        picture(skin_keys::lighting::kRandomA, skins / "sjsup.bmp");
        // The direction group's second layout.
        label((skin_keys::lighting::kDirectionLabel + std::string("2")).c_str(), "FX");
        picture((skin_keys::lighting::kDirectionLeft + std::string("2")).c_str(),
                skins / "leftdown.bmp");
        picture((skin_keys::lighting::kDirectionRight + std::string("2")).c_str(),
                skins / "rightup.bmp");
        label(skin_keys::main_window::kReportRateLabel, "Usb");
    }

    // Hover on W, a press on A, assignments on a few keys and G keys, profile 1 and 1000 Hz.
    void show_states() {
        for (const KeyCode code :
             {KeyCode{0x012}, KeyCode{0x013}, KeyCode{0x03F}, KeyCode{0x04C}, KeyCode{0x039}}) {
            buttons_.at(key_skin_name(code))->set_selected(true);
        }
        for (const int j : {0, 1, 5}) {
            buttons_.at(skin_keys::main_window::g_key(j))->set_selected(true);
        }
        for (const char* key : {skin_keys::main_window::kProfileButtons[0],
                                skin_keys::main_window::kReportRateButtons[3]}) {
            buttons_.at(key)->set_selected(true);
        }
        buttons_.at(key_skin_name(0x01E))->setDown(true);
        buttons_.at(skin_keys::kApply)->setEnabled(false);
        buttons_.at(skin_keys::main_window::kNumLock)->set_selected(true);
        buttons_.at(skin_keys::main_window::kFlipIndicator)->set_selected(true);
        ImageButton* hovered = buttons_.at(key_skin_name(0x011));
        QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), hovered->mapToGlobal(QPointF(4, 4)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(hovered, &move);
    }

    std::array<const SkinPicture*, 4> states_{};
    const SkinPicture* arrows_ = nullptr;
    std::map<std::string, ImageButton*> buttons_;
};

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
    tarvenor::apply_dark_look(QIcon(), QStringLiteral("skin-gallery"));
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
