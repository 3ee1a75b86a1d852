#include "ui/main/main_layout.h"

#include "ui/logic/g_keys.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/profile_controls.h"
#include "ui/skin/placement.h"

#include <QColor>

#include <string>

namespace tarvenor {
namespace {

constexpr const char* kSection = "BUTTONINFO";
const QColor kCaptionColour(228, 228, 228);

// The faces of a control, named by the picture each state is cut from, in the order normal,
// hover, pressed, disabled, selected.
enum class FaceSet { Key, Link, Plain, Apply, Indicator, Flip, Toggle, Still };

FaceImages faces_of(FaceSet set, const MainPictures& p, bool flip_set = false) {
    const StateSurface* n = flip_set ? &p.flip_normal : &p.normal;
    const StateSurface* o = flip_set ? &p.flip_over : &p.over;
    const StateSurface* d = flip_set ? &p.flip_down : &p.down;
    const StateSurface* x = flip_set ? &p.flip_disable : &p.disable;
    switch (set) {
    case FaceSet::Key:
    case FaceSet::Toggle:
        return {n, o, d, n, x};
    case FaceSet::Link:
        return {n, o, x, n, n};
    case FaceSet::Plain:
        return {n, o, d, n, n};
    case FaceSet::Apply:
        return {n, o, d, x, n};
    case FaceSet::Indicator:
        return {n, n, n, n, o};
    case FaceSet::Flip:
        return {n, n, n, n, x};
    case FaceSet::Still:
        break;
    }
    return {n, n, n, n, n};
}

struct ControlPlace {
    int id;
    const char* key;
    FaceSet faces;
};

constexpr ControlPlace kControls[] = {
    {control::kSkinLink, "KESTRO_LINK", FaceSet::Link},
    {control::kProfiles, "FUNC_PROFILES", FaceSet::Plain},
    {control::kMacroEdit, "FUNC_MACRO", FaceSet::Plain},
    {control::kOk, "CONTROL_OK", FaceSet::Plain},
    {control::kCancel, "CONTROL_CANCEL", FaceSet::Plain},
    {control::kHelp, "CONTROL_HELP", FaceSet::Plain},
    {control::kClose, "CONTROL_CLOSE", FaceSet::Plain},
    {control::kVendorLink, "CONTROL_LINK", FaceSet::Plain},
    {control::kMinimise, "CONTROL_MINIMIZE", FaceSet::Plain},
    {control::kMenu, "CONTROL_MENU", FaceSet::Plain},
    {control::kApply, "CONTROL2_APPLY", FaceSet::Apply},
    {1125, "LOCK_CAPS", FaceSet::Indicator},
    {1126, "LOCK_NUM", FaceSet::Indicator},
    {1127, "LOCK_SCROLL", FaceSet::Indicator},
    {control::kBankIndicator, "LOCK_AB", FaceSet::Indicator},
    {kFlipIndicatorId, "FLIP_0", FaceSet::Flip},
    {1130, "FLIP_1", FaceSet::Toggle},
    {1131, "FLIP_2", FaceSet::Toggle},
    {control::kVersion, "KESTRO_VER", FaceSet::Still},
    {1135, "FUNC_PROFILE1", FaceSet::Toggle},
    {1136, "FUNC_PROFILE2", FaceSet::Toggle},
    {1137, "FUNC_PROFILE3", FaceSet::Toggle},
    {1138, "FUNC_DEFAULT", FaceSet::Toggle},
    {1144, "FUNC_SWITCH", FaceSet::Toggle},
    {1147, "FUNC_REPORT1", FaceSet::Toggle},
    {1168, "FUNC_REPORT2", FaceSet::Toggle},
    {1169, "FUNC_REPORT3", FaceSet::Toggle},
    {1170, "FUNC_REPORT4", FaceSet::Toggle},
};

constexpr int kFlipLeft = 1130;
constexpr int kFlipRight = 1131;
constexpr int kSwitch = 1144;
constexpr int kF5 = 1014;
constexpr int kFKeys[] = {1010, 1011, 1012, 1013};

// Window-owned captions of the language file, by control.
constexpr std::pair<int, const char*> kLanguageCaptions[] = {
    {1135, "PROFILE_1"},
    {1136, "PROFILE_2"},
    {1137, "PROFILE_3"},
    {1007, "PROFILE_MACRO"},
    {1138, "PROFILE_DEFAULT"},
    {control::kOk, "PROFILE_OK"},
    {control::kCancel, "PROFILE_CANCLE"},
    {control::kApply, "PROFILE_APPLY"},
};

ImageButton* place(QWidget& window, ButtonMap& buttons, int id, const IniFile& skin,
                   const std::string& key, const FaceImages& faces) {
    auto* button = new ImageButton(&window);
    button->setObjectName(QString::fromStdString(key));
    button->setProperty("control_id", id);
    place_image_control(*button, skin, kSection, key, faces);
    buttons[id] = button;
    return button;
}

void place_keys(QWidget& window, ButtonMap& buttons, const IniFile& skin,
                const MainPictures& pictures) {
    const FaceImages faces = faces_of(FaceSet::Key, pictures);
    const auto& g_ids = GButtonControlIds();
    for (int j = 0; j < kGKeyCount; ++j) {
        place(window, buttons, g_ids[j], skin, g_skin_key(j), faces);
    }
    for (const KeyboardKey& key : keyboard_key_list()) {
        place(window, buttons, key.control_id, skin, key_skin_key(key.code), faces);
    }
    place(window, buttons, control::kFn, skin, "KEY_FN", faces_of(FaceSet::Toggle, pictures));
}

// D1..D6 lie over the F1..F4 row; their faces are cut from the Flip pictures. A skin without
// their places leaves them out.
void place_d_keys(QWidget& window, ButtonMap& buttons, const IniFile& skin,
                  const MainPictures& pictures) {
    const FaceImages faces = faces_of(FaceSet::Key, pictures, true);
    for (std::size_t k = 0; k < control::kDKeys.size(); ++k) {
        const std::string key = "KEY_D" + std::to_string(k + 1);
        if (skin.get(kSection, key).empty()) {
            continue;
        }
        place(window, buttons, control::kDKeys[k], skin, key, faces)->setEnabled(false);
    }
}

void place_arrows(QWidget& window, ButtonMap& buttons, const IniFile& skin,
                  const MainPictures& pictures) {
    for (const auto& [id, key, face] :
         {std::tuple{kLeftArrow, "LEFT_ARROW", "DOWN_ARROW_LEFT1"},
          std::tuple{kRightArrow, "RIGHT_ARROW", "DOWN_ARROW_RIGHT1"}}) {
        auto* arrow = new ImageButton(&window);
        arrow->setObjectName(QString::fromLatin1(key));
        place_with_face(*arrow, skin, kSection, key, "BUTTONINFO2", face, pictures.arrows);
        arrow->setEnabled(false);
        buttons[id] = arrow;
    }
}

void set_tooltips(ButtonMap& buttons, const IniFile& skin, const TextTable& texts) {
    const auto tip = [&buttons](int id, const std::string& text) {
        buttons.at(id)->set_tooltip(QString::fromStdString(text), true);
    };
    tip(control::kSkinLink, skin.get("SCREEN", "Link"));
    tip(control::kHelp, texts.text(TextKey::MainHelpPrompt));
    tip(control::kClose, texts.text(TextKey::MainClosePrompt));
    tip(control::kMinimise, texts.text(TextKey::MainMinimizePrompt));
    tip(control::kMenu, texts.text(TextKey::MainMenuPrompt));
    tip(control::kVendorLink, "Link");
}

void set_captions(ButtonMap& buttons, const LanguageFile& language, const TextTable& texts) {
    const int centred = Qt::AlignCenter | Qt::TextSingleLine;
    for (const auto& [id, key] : kLanguageCaptions) {
        set_caption(*buttons.at(id), QString::fromStdString(language.text(key)), 9,
                    QStringLiteral("Arial"), centred);
    }
    ImageButton& profiles = *buttons.at(control::kProfiles);
    set_caption(profiles, QString::fromStdString(texts.text(TextKey::DefaultProfileName)), 10,
                QStringLiteral("Arial"), Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine);
    profiles.set_text_rotation(268, true);
    ImageButton& version = *buttons.at(control::kVersion);
    set_caption(version, QString::fromStdString(texts.text(TextKey::MainButtonVersion)), 8,
                QStringLiteral("Verdana"), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
    version.setEnabled(false);
    set_caption(*buttons.at(kSwitch), {}, 10, QStringLiteral("Arial"), centred);
    buttons.at(kSwitch)->hide();
}

} // namespace

MainPictures MainPictures::load(const std::filesystem::path& folder, QSize client) {
    return {StateSurface::load(folder / "main_normal.jpg", client),
            StateSurface::load(folder / "main_over.jpg", client),
            StateSurface::load(folder / "main_down.jpg", client),
            StateSurface::load(folder / "main_disable.jpg", client),
            StateSurface::load(folder / "Arrow.jpg", client),
            StateSurface::load(folder / "main_color0.jpg", client),
            StateSurface::load(folder / "main_color1.jpg", client),
            StateSurface::load(folder / "main_flip_normal.jpg", client),
            StateSurface::load(folder / "main_flip_over.jpg", client),
            StateSurface::load(folder / "main_flip_down.jpg", client),
            StateSurface::load(folder / "main_flip_disable.jpg", client)};
}

FaceImages flip_indicator_faces(const MainPictures& pictures, bool flip) {
    return faces_of(FaceSet::Flip, pictures, flip);
}

void set_caption(ImageButton& button, const QString& text, int points, const QString& face,
                 int format) {
    button.setText(text);
    button.set_text_style(true, points, face, kCaptionColour, format);
}

ButtonMap place_main_controls(QWidget& window, const IniFile& skin, const MainPictures& pictures,
                              const LanguageFile& language, const TextTable& texts) {
    ButtonMap buttons;
    place_keys(window, buttons, skin, pictures);
    place_d_keys(window, buttons, skin, pictures);
    for (const ControlPlace& c : kControls) {
        place(window, buttons, c.id, skin, c.key, faces_of(c.faces, pictures));
    }
    place_arrows(window, buttons, skin, pictures);
    for (int id : {1125, 1126, 1127}) {
        buttons.at(id)->setEnabled(false);
    }
    set_tooltips(buttons, skin, texts);
    set_captions(buttons, language, texts);
    return buttons;
}

void couple_draws(ButtonMap& buttons) {
    const auto after = [&buttons](int id, std::vector<int> then) {
        buttons.at(id)->set_draw_callback([&buttons, then](ImageButton&, bool) {
            for (int other : then) {
                buttons.at(other)->update();
            }
        });
    };
    std::vector<int> g_keys(GButtonControlIds().begin(), GButtonControlIds().end());
    after(control::kBankIndicator, g_keys);
    after(control::kEnterKey, {control::kBracketKey});
    std::vector<int> flip(std::begin(kFKeys), std::end(kFKeys));
    flip.insert(flip.end(), control::kDKeys.begin(), control::kDKeys.end());
    flip.insert(flip.end(), {kF5, kFlipLeft, kFlipRight});
    after(kFlipIndicatorId, flip);
    after(kFlipLeft, {kLeftArrow});
    after(kFlipRight, {kRightArrow});
}

} // namespace tarvenor
