#include "ui/main/main_layout.h"

#include "ui/logic/g_keys.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/profile_controls.h"
#include "ui/logic/skin_keys.h"
#include "ui/skin/placement.h"
#include "ui/skin/skin_label.h"

#include <QColor>

#include <string>

namespace tarvenor {
namespace {

const QColor kCaptionColour(228, 228, 228);

// The faces of a control, named by the picture each state is cut from, in the order normal,
// hover, pressed, disabled, selected.
enum class FaceSet { Key, Link, Plain, Apply, Indicator, Flip, Toggle, Still };

FaceImages faces_of(FaceSet set, const MainPictures& p, bool flip_set = false) {
    const SkinPicture* n = flip_set ? p.flip_normal : p.normal;
    const SkinPicture* o = flip_set ? p.flip_over : p.over;
    const SkinPicture* d = flip_set ? p.flip_down : p.down;
    const SkinPicture* x = flip_set ? p.flip_disable : p.disable;
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
    MainControl id;
    const char* key;
    FaceSet faces;
};

constexpr ControlPlace kControls[] = {
    {MainControl::SkinLink, skin_keys::main_window::kSkinLink, FaceSet::Link},
    {MainControl::Profiles, skin_keys::main_window::kProfiles, FaceSet::Plain},
    {MainControl::MacroEdit, skin_keys::main_window::kMacroEdit, FaceSet::Plain},
    {MainControl::Ok, skin_keys::kOk, FaceSet::Plain},
    {MainControl::Cancel, skin_keys::kCancel, FaceSet::Plain},
    {MainControl::Help, skin_keys::main_window::kHelp, FaceSet::Plain},
    {MainControl::Close, skin_keys::main_window::kClose, FaceSet::Plain},
    {MainControl::VendorLink, skin_keys::main_window::kVendorLink, FaceSet::Plain},
    {MainControl::Minimise, skin_keys::main_window::kMinimise, FaceSet::Plain},
    {MainControl::Menu, skin_keys::main_window::kMenu, FaceSet::Plain},
    {MainControl::Apply, skin_keys::kApply, FaceSet::Apply},
    {MainControl::CapsLock, skin_keys::main_window::kCapsLock, FaceSet::Indicator},
    {MainControl::NumLock, skin_keys::main_window::kNumLock, FaceSet::Indicator},
    {MainControl::ScrollLock, skin_keys::main_window::kScrollLock, FaceSet::Indicator},
    {MainControl::BankIndicator, skin_keys::main_window::kBankIndicator, FaceSet::Indicator},
    {MainControl::FlipIndicator, skin_keys::main_window::kFlipIndicator, FaceSet::Flip},
    {MainControl::FlipLeft, skin_keys::main_window::kFlipLeft, FaceSet::Toggle},
    {MainControl::FlipRight, skin_keys::main_window::kFlipRight, FaceSet::Toggle},
    {MainControl::Version, skin_keys::main_window::kVersion, FaceSet::Still},
    {MainControl::Profile1, skin_keys::main_window::kProfileButtons[0], FaceSet::Toggle},
    {MainControl::Profile2, skin_keys::main_window::kProfileButtons[1], FaceSet::Toggle},
    {MainControl::Profile3, skin_keys::main_window::kProfileButtons[2], FaceSet::Toggle},
    {MainControl::Default, skin_keys::main_window::kDefault, FaceSet::Toggle},
    {MainControl::Switch, skin_keys::main_window::kSwitch, FaceSet::Toggle},
    {MainControl::ReportRate1, skin_keys::main_window::kReportRateButtons[0], FaceSet::Toggle},
    {MainControl::ReportRate2, skin_keys::main_window::kReportRateButtons[1], FaceSet::Toggle},
    {MainControl::ReportRate3, skin_keys::main_window::kReportRateButtons[2], FaceSet::Toggle},
    {MainControl::ReportRate4, skin_keys::main_window::kReportRateButtons[3], FaceSet::Toggle},
};

// Window-owned captions of the language file, by control.
constexpr std::pair<MainControl, const char*> kLanguageCaptions[] = {
    {MainControl::Profile1, "PROFILE_1"},      {MainControl::Profile2, "PROFILE_2"},
    {MainControl::Profile3, "PROFILE_3"},      {MainControl::MacroEdit, "PROFILE_MACRO"},
    {MainControl::Default, "PROFILE_DEFAULT"}, {MainControl::Ok, "PROFILE_OK"},
    {MainControl::Cancel, "PROFILE_CANCLE"},   {MainControl::Apply, "PROFILE_APPLY"},
};

ImageButton& button_of(const ButtonMap& buttons, MainControl control) {
    return *buttons.at(id_of(control));
}

ImageButton* place(QWidget& window, ButtonMap& buttons, int id, const IniFile& skin,
                   const std::string& key, const FaceImages& faces) {
    auto* button = new ImageButton(&window);
    button->setObjectName(QString::fromStdString(key));
    button->setProperty("control_id", id);
    place_image_control(*button, skin, skin_keys::kControls, key, faces);
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
    place(window, buttons, id_of(MainControl::Fn), skin, skin_keys::main_window::kFn,
          faces_of(FaceSet::Toggle, pictures));
}

// D1..D6 lie over the F1..F4 row; their faces are cut from the Flip pictures. A skin without
// their places leaves them out.
void place_d_keys(QWidget& window, ButtonMap& buttons, const IniFile& skin,
                  const MainPictures& pictures) {
    const FaceImages faces = faces_of(FaceSet::Key, pictures, true);
    for (std::size_t k = 0; k < control::kDKeys.size(); ++k) {
        const std::string key = skin_keys::main_window::d_key(k);
        if (skin.get(skin_keys::kControls, key).empty()) {
            continue;
        }
        place(window, buttons, control::kDKeys[k], skin, key, faces)->setEnabled(false);
    }
}

void place_arrows(QWidget& window, ButtonMap& buttons, const IniFile& skin,
                  const MainPictures& pictures) {
    for (const auto& [id, key, face] :
         {std::tuple{MainControl::LeftArrow, skin_keys::main_window::kLeftArrow,
                     skin_keys::main_window::kLeftArrowDown},
          std::tuple{MainControl::RightArrow, skin_keys::main_window::kRightArrow,
                     skin_keys::main_window::kRightArrowDown}}) {
        auto* arrow = new ImageButton(&window);
        arrow->setObjectName(QString::fromLatin1(key));
        place_with_face(*arrow, skin, skin_keys::kControls, key, skin_keys::kArrowFaces, face,
                        *pictures.arrows);
        arrow->setEnabled(false);
        buttons[id_of(id)] = arrow;
    }
}

void set_tooltips(ButtonMap& buttons, const IniFile& skin, const TextTable& texts) {
    const auto tip = [&buttons](MainControl control, const std::string& text) {
        button_of(buttons, control).set_tooltip(QString::fromStdString(text), true);
    };
    tip(MainControl::SkinLink, skin.get(skin_keys::kScreen, skin_keys::kLink));
    tip(MainControl::Help, texts.text(TextKey::MainHelpPrompt));
    tip(MainControl::Close, texts.text(TextKey::MainClosePrompt));
    tip(MainControl::Minimise, texts.text(TextKey::MainMinimizePrompt));
    tip(MainControl::Menu, texts.text(TextKey::MainMenuPrompt));
    tip(MainControl::VendorLink, "Link");
}

void set_captions(ButtonMap& buttons, const LanguageFile& language, const TextTable& texts) {
    const int centred = Qt::AlignCenter | Qt::TextSingleLine;
    for (const auto& [id, key] : kLanguageCaptions) {
        set_caption(button_of(buttons, id), QString::fromStdString(language.text(key)), 9,
                    QStringLiteral("Arial"), centred);
    }
    ImageButton& profiles = button_of(buttons, MainControl::Profiles);
    set_caption(profiles, QString::fromStdString(texts.text(TextKey::DefaultProfileName)), 10,
                QStringLiteral("Arial"), Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine);
    profiles.set_text_rotation(268, true);
    ImageButton& version = button_of(buttons, MainControl::Version);
    set_caption(version, QString::fromStdString(texts.text(TextKey::MainButtonVersion)), 8,
                QStringLiteral("Verdana"), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
    version.setEnabled(false);
    set_caption(button_of(buttons, MainControl::Switch), {}, 10, QStringLiteral("Arial"), centred);
    button_of(buttons, MainControl::Switch).hide();
}

} // namespace

MainPictures MainPictures::find(SkinPictures& cache, const std::filesystem::path& folder) {
    const auto in_folder = [&](const char* name) { return &cache.picture(folder / name); };
    return {in_folder("main_normal.jpg"),
            in_folder("main_over.jpg"),
            in_folder("main_down.jpg"),
            in_folder("main_disable.jpg"),
            in_folder("Arrow.jpg"),
            in_folder("main_color0.jpg"),
            in_folder("main_color1.jpg"),
            in_folder("main_flip_normal.jpg"),
            in_folder("main_flip_over.jpg"),
            in_folder("main_flip_down.jpg"),
            in_folder("main_flip_disable.jpg")};
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
        place(window, buttons, id_of(c.id), skin, c.key, faces_of(c.faces, pictures));
    }
    place_arrows(window, buttons, skin, pictures);
    for (const MainControl lock :
         {MainControl::CapsLock, MainControl::NumLock, MainControl::ScrollLock}) {
        button_of(buttons, lock).setEnabled(false);
    }
    set_tooltips(buttons, skin, texts);
    set_captions(buttons, language, texts);
    // Over the buttons, whose pictures leave their places bare.
    for (const skin_keys::LanguageLabel& label : skin_keys::main_window::kLanguageLabels) {
        (new SkinLabel(window, skin, label))
            ->show_text(QString::fromStdString(language.text(label.text)));
    }
    return buttons;
}

void couple_draws(ButtonMap& buttons) {
    const auto after = [&buttons](MainControl control, std::vector<int> then) {
        button_of(buttons, control).set_draw_callback([&buttons, then](ImageButton&, bool) {
            for (int other : then) {
                buttons.at(other)->update();
            }
        });
    };
    std::vector<int> g_keys(GButtonControlIds().begin(), GButtonControlIds().end());
    after(MainControl::BankIndicator, g_keys);
    after(MainControl::EnterKey, {id_of(MainControl::BracketKey)});
    std::vector<int> flip;
    for (const MainControl control : kFKeys) {
        flip.push_back(id_of(control));
    }
    flip.insert(flip.end(), control::kDKeys.begin(), control::kDKeys.end());
    for (const MainControl control :
         {MainControl::F5, MainControl::FlipLeft, MainControl::FlipRight}) {
        flip.push_back(id_of(control));
    }
    after(MainControl::FlipIndicator, flip);
    after(MainControl::FlipLeft, {id_of(MainControl::LeftArrow)});
    after(MainControl::FlipRight, {id_of(MainControl::RightArrow)});
}

} // namespace tarvenor
