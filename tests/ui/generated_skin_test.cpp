// Checks the skin the build draws into the program folder against what the windows load.

#include "model/ini_file.h"
#include "model/key_codes.h"
#include "model/text_table.h"
#include "ui/logic/skin_keys.h"
#include "ui/skin/image_button.h"
#include "ui/skin/skin_rect.h"

#include "skin_test_support.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QTransform>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tarvenor {
namespace {

const std::filesystem::path kSkins = TARVENOR_SKIN_DIR;

QImage picture(const std::string& name) {
    return QImage(QString::fromStdString((kSkins / name).string()));
}

IniFile skin_file(const char* name) {
    const auto file = IniFile::read(kSkins / name);
    if (!file) {
        ADD_FAILURE() << name << " is missing";
        return {};
    }
    return *file;
}

std::vector<std::string> key_button_keys() {
    std::vector<std::string> keys;
    for (int g = 1; g <= 9; ++g) {
        keys.push_back("FUNC_G" + std::to_string(g));
    }
    for (const KeyboardKey& key : keyboard_key_list()) {
        char name[16];
        std::snprintf(name, sizeof name, "KEY_%03X", key_index_of(key.code));
        keys.emplace_back(name);
    }
    keys.emplace_back("KEY_FN");
    return keys;
}

const std::vector<std::string> kMainImageControls{
    "KESTRO_LINK",    "FUNC_PROFILES", "FUNC_MACRO",   "CONTROL_OK",       "CONTROL_CANCEL",
    "CONTROL_HELP",   "CONTROL_CLOSE", "CONTROL_LINK", "CONTROL_MINIMIZE", "CONTROL_MENU",
    "CONTROL2_APPLY", "LOCK_CAPS",     "LOCK_NUM",     "LOCK_SCROLL",      "LOCK_AB",
    "FLIP_0",         "FLIP_1",        "FLIP_2",       "KESTRO_VER",       "FUNC_PROFILE1",
    "FUNC_PROFILE2",  "FUNC_PROFILE3", "FUNC_DEFAULT", "FUNC_SWITCH",      "FUNC_REPORT1",
    "FUNC_REPORT2",   "FUNC_REPORT3",  "FUNC_REPORT4"};

const std::vector<std::string> kMainPlainControls{"CONTROL_UsbStatic",
                                                  "CONTROL_DengStatic",
                                                  "CONTROL_DengStaPic",
                                                  "CONTROL_XGcombox",
                                                  "CONTROL_JDTStatic",
                                                  "CONTROL_LightStatic",
                                                  "CONTROL_LightSlider",
                                                  "CONTROL_SpeedStatic",
                                                  "CONTROL_SpeedSlider",
                                                  "CONTROL_BLFXStatic",
                                                  "CONTROL_BLFXLStaPic",
                                                  "CONTROL_BLFXRStaPic",
                                                  "CONTROL_BLFXStatic2",
                                                  "CONTROL_BLFXLStaPic2",
                                                  "CONTROL_BLFXRStaPic2",
                                                  "CONTROL_BLFXStatic3",
                                                  "CONTROL_BLFXLStaPic3",
                                                  "CONTROL_BLFXRStaPic3",
                                                  "CONTROL_FYYSStatic",
                                                  "CONTROL_FYYSButton",
                                                  "CONTROL_FYSJSStaPic",
                                                  "CONTROL_FYSJSStatic",
                                                  "CONTROL_FYCFStatic",
                                                  "CONTROL_FYdjcfStatic",
                                                  "CONTROL_FYggcfStatc",
                                                  "CONTROL_FYdjcfStaPic",
                                                  "CONTROL_FYggcfStaPic",
                                                  "CONTROL_HONGPIC",
                                                  "CONTROL_HUANGPIC",
                                                  "CONTROL_LVPIC",
                                                  "CONTROL_LANPIC",
                                                  "CONTROL_HXysStatic",
                                                  "CONTROL_HXysButton",
                                                  "CONTROL_HXsjsStatic",
                                                  "CONTROL_HXsjsStaPic",
                                                  "CONTROL_JTysStatic",
                                                  "CONTROL_JTysButton",
                                                  "CONTROL_USERysStatic",
                                                  "CONTROL_USERysButton",
                                                  "CONTROL_USERjsStatic",
                                                  "CONTROL_USERjsButton",
                                                  "CONTROL_USERgjStatic",
                                                  "CONTROL_USERgjStaPic1",
                                                  "CONTROL_USERgjStaPic2",
                                                  "CONTROL_TSysStatic",
                                                  "CONTROL_TSysButton",
                                                  "CONTROL_TSsjsStatic",
                                                  "CONTROL_TSsjsStaPic",
                                                  "CONTROL_CDysStatic",
                                                  "CONTROL_CDysButton",
                                                  "CONTROL_CDsjsStatic",
                                                  "CONTROL_CDsjsStaPic",
                                                  "CONTROL_umCombo",
                                                  "LEFT_ARROW",
                                                  "RIGHT_ARROW"};

const std::vector<std::string> kAssignmentControls{"CONTROL_MASK",
                                                   "CONTROL_TITLE",
                                                   "CONTROL_OSK",
                                                   "CONTROL_CLEAR",
                                                   "CONTROL_MEDIA",
                                                   "CONTROL_MACRO",
                                                   "CONTROL_KEY",
                                                   "CONTROL_FUNCTION",
                                                   "CONTROL_APPLY",
                                                   "CONTROL_OK",
                                                   "CONTROL_CANCEL",
                                                   "FUNC_MACRO_DELETE",
                                                   "FUNC_MACRO_ADD",
                                                   "FUNC_MACRO_UP_TOP",
                                                   "FUNC_MACRO_UP",
                                                   "FUNC_MACRO_DOWN",
                                                   "FUNC_MACRO_DOWN_BOTTOM",
                                                   "FUNC_MACRO_DELETE2",
                                                   "FUNC_MACRO_CLEAR",
                                                   "FUNC_MACRO_RECORD",
                                                   "FUNC_MACRO_RECORD_DELAY",
                                                   "FUNC_MACRO_LIST2",
                                                   "FUNC_MACRO_CYCLES",
                                                   "FUNC_MACRO_CYCLES_PROMPT",
                                                   "TISHI_SINGLE_STATIC",
                                                   "MARCO_NAME_SETTING",
                                                   "KEY_SETTING",
                                                   "MEDIA_SETTING_TISHI",
                                                   "FUNCTION_KEY_SETTING_TISHI",
                                                   "FUNC_MACRO_RECORD_DELAY2",
                                                   "FUNC_KEY_INPUT",
                                                   "FUNC_MEDIA_SELECT",
                                                   "FUNC_MACRO_LIST",
                                                   "FUNC_FUNCTION_SELECT"};

const std::vector<std::string> kProfileControls{"CONTROL_OK",  "CONTROL_CANCEL", "FUNC_ADD",
                                                "FUNC_LOAD",   "FUNC_DELETE",    "CONTROL2_APPLY",
                                                "PROGRAM_LIST"};

// The title label starts at the top edge, as the profile manager's: it is text, not a face.
const std::vector<std::string> kRulesControls{"CONTROL_CANCEL", "FUNC_ADD",       "FUNC_DELETE",
                                              "RULE_LIST",      "FOLLOW_ENABLED", "DEFAULT_PROFILE",
                                              "LABEL_OTHER",    "LABEL_STATUS"};
const std::vector<std::string> kRuleAddControls{"CONTROL_OK", "CONTROL_CANCEL", "APPLICATION",
                                                "PROFILE",    "LABEL_PROMPT",   "LABEL_PROFILE"};

QRect rect_of(const SkinRect& r) {
    return QRect(r.x, r.y, r.w, r.h);
}

// Every key is present, used, and lies wholly inside the background with room for the faces
// cut one pixel up and left of it.
void expect_controls_inside(const IniFile& skin, const std::vector<std::string>& keys,
                            const char* file) {
    const QImage background = picture(skin.get("SCREEN", "Main"));
    ASSERT_FALSE(background.isNull()) << file;
    const QRect inside = background.rect().adjusted(1, 1, 0, 0);
    for (const std::string& key : keys) {
        ASSERT_TRUE(skin.find("BUTTONINFO", key).has_value()) << file << ": " << key;
        const SkinRect rect = read_skin_rect(skin, "BUTTONINFO", key);
        EXPECT_FALSE(rect.unused()) << file << ": " << key;
        EXPECT_GT(rect.w, 1) << file << ": " << key;
        EXPECT_GT(rect.h, 1) << file << ": " << key;
        EXPECT_TRUE(inside.contains(rect_of(rect))) << file << ": " << key;
    }
}

void expect_pictures_decode(const std::vector<std::string>& names, QSize size = {}) {
    for (const std::string& name : names) {
        const QImage decoded = picture(name);
        EXPECT_FALSE(decoded.isNull()) << name;
        if (size.isValid()) {
            EXPECT_EQ(decoded.size(), size) << name;
        }
    }
}

std::vector<std::string> names_with(const std::vector<std::string>& stems,
                                    const std::vector<std::string>& endings) {
    std::vector<std::string> names;
    for (const std::string& stem : stems) {
        for (const std::string& ending : endings) {
            names.push_back(stem + ending);
        }
    }
    return names;
}

TEST(GeneratedSkin, MainWindowPlacesEveryControlInsideTheBackground) {
    const IniFile skin = skin_file("Main.ini");
    expect_controls_inside(skin, key_button_keys(), "Main.ini");
    expect_controls_inside(skin, kMainImageControls, "Main.ini");
    expect_controls_inside(skin, kMainPlainControls, "Main.ini");
    EXPECT_FALSE(skin.get("SCREEN", "Link").empty());
}

TEST(GeneratedSkin, KeyButtonsOverlapNeitherEachOtherNorOtherImageControls) {
    const IniFile skin = skin_file("Main.ini");
    const std::vector<std::string> keys = key_button_keys();
    ASSERT_EQ(keys.size(), 116u);
    std::vector<std::string> all = keys;
    all.insert(all.end(), kMainImageControls.begin(), kMainImageControls.end());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QRect key = rect_of(read_skin_rect(skin, "BUTTONINFO", keys[i]));
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const QRect other = rect_of(read_skin_rect(skin, "BUTTONINFO", all[j]));
            EXPECT_FALSE(key.intersects(other)) << keys[i] << " overlaps " << all[j];
        }
    }
}

TEST(GeneratedSkin, KeyboardHasSixRowsInLightingOrder) {
    // Esc, back-quote, Tab, Caps Lock, left Shift and left Ctrl start the six rows, top down.
    const IniFile skin = skin_file("Main.ini");
    const char* row_starts[] = {"KEY_001", "KEY_029", "KEY_00F", "KEY_03A", "KEY_02A", "KEY_01D"};
    int previous_top = -1;
    for (const char* key : row_starts) {
        const SkinRect rect = read_skin_rect(skin, "BUTTONINFO", key);
        EXPECT_GT(rect.y, previous_top) << key;
        previous_top = rect.y;
    }
    // Within a row keys run left to right in lighting order: F1 .. F12 of the top row.
    int previous_left = -1;
    for (const char* key : {"KEY_03B", "KEY_03C", "KEY_044", "KEY_057", "KEY_058"}) {
        const SkinRect rect = read_skin_rect(skin, "BUTTONINFO", key);
        EXPECT_GT(rect.x, previous_left) << key;
        previous_left = rect.x;
    }
}

TEST(GeneratedSkin, ProfileManagerButtonHoldsItsTurnedCaption) {
    // The main window writes the active profile's name across this button: 10 points, heavy,
    // single line at the bottom, turned by 26.8 degrees. The default name is the longest.
    const IniFile skin = skin_file("Main.ini");
    ImageButton button;
    button.setGeometry(rect_of(read_skin_rect(skin, "BUTTONINFO", "FUNC_PROFILES")));
    const int format = Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine;
    button.set_text_style(true, 10, QStringLiteral("Arial"), Qt::white, format);
    constexpr int kEscapement = 268;
    button.set_text_rotation(kEscapement, true);
    const QString names[] = {QString::fromStdString(TextTable().text(TextKey::DefaultProfileName)),
                             QStringLiteral("$Profile0")};
    for (const QString& name : names) {
        button.setText(name);
        // Where the button draws it: the upright text's box turned about its top-left corner.
        const QRect upright =
            QFontMetrics(button.caption_font()).boundingRect(button.caption_rect(), format, name);
        QTransform turn;
        turn.translate(upright.left(), upright.top());
        turn.rotate(-kEscapement / 10.0);
        const QRectF turned = turn.mapRect(QRectF(QPointF(0, 0), QSizeF(upright.size())));
        EXPECT_TRUE(QRectF(button.rect()).contains(turned))
            << name.toStdString() << " needs " << turned.width() << " x " << turned.height()
            << " from " << turned.left() << "," << turned.top();
    }
}

TEST(GeneratedSkin, ArrowFacesLieInsideTheArrowPicture) {
    const IniFile skin = skin_file("Main.ini");
    const QImage arrows = picture("Arrow.jpg");
    ASSERT_FALSE(arrows.isNull());
    const struct {
        const char* face;
        const char* control;
    } faces[] = {{"UP_ARROW_LEFT1", "LEFT_ARROW"},
                 {"DOWN_ARROW_LEFT1", "LEFT_ARROW"},
                 {"UP_ARROW_RIGHT1", "RIGHT_ARROW"},
                 {"DOWN_ARROW_RIGHT1", "RIGHT_ARROW"}};
    for (const auto& f : faces) {
        ASSERT_TRUE(skin.find("BUTTONINFO2", f.face).has_value()) << f.face;
        const SkinRect offset = read_skin_rect(skin, "BUTTONINFO2", f.face);
        const SkinRect control = read_skin_rect(skin, "BUTTONINFO", f.control);
        EXPECT_TRUE(arrows.rect().contains(QRect(offset.x - 1, offset.y - 1, control.w, control.h)))
            << f.face;
    }
}

TEST(GeneratedSkin, LabelsAndEffectNamesInBothLanguages) {
    const IniFile skin = skin_file("Main.ini");
    for (const char* key :
         {"Usb", "Deng", "Light", "FX", "Speed", "Color", "JColor", "DC", "Tool"}) {
        EXPECT_FALSE(skin.get("Control_Name", key).empty()) << key;
        EXPECT_FALSE(skin.get("Control_Name1", key).empty()) << key;
    }
    std::vector<int> effects;
    for (int e = 1; e <= 18; ++e) {
        effects.push_back(e);
    }
    effects.push_back(20);
    for (const int e : effects) {
        const std::string key = std::to_string(e);
        // The default "1" would mean the name is missing.
        EXPECT_NE(skin.get("Mode", key, "1"), "1") << e;
        EXPECT_NE(skin.get("Mode1", key, "1"), "1") << e;
        EXPECT_NE(skin.get("Mode", key), skin.get("Mode1", key)) << e;
    }
}

TEST(GeneratedSkin, OtherDialogsPlaceEveryControlInsideTheirBackgrounds) {
    expect_controls_inside(skin_file("Composite.ini"), kAssignmentControls, "Composite.ini");
    expect_controls_inside(skin_file("Profile.ini"), kProfileControls, "Profile.ini");
    expect_controls_inside(skin_file("Rules.ini"), kRulesControls, "Rules.ini");
    expect_controls_inside(skin_file("RuleAdd.ini"), kRuleAddControls, "RuleAdd.ini");
}

// The largest spread of any colour channel over a block of a picture.
int channel_spread(const QImage& image, const QRect& block) {
    int low[3] = {255, 255, 255};
    int high[3] = {0, 0, 0};
    for (int y = block.top(); y <= block.bottom(); ++y) {
        for (int x = block.left(); x <= block.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int channels[3] = {c.red(), c.green(), c.blue()};
            for (int i = 0; i < 3; ++i) {
                low[i] = std::min(low[i], channels[i]);
                high[i] = std::max(high[i], channels[i]);
            }
        }
    }
    return std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
}

TEST(GeneratedSkin, AssignmentBackgroundShowsNoControlOfTheMacroPageAlone) {
    // These buttons are hidden on every other page, where the background shows in their place:
    // it must not show a button there that does nothing.
    const IniFile skin = skin_file("Composite.ini");
    const QImage background = picture(skin.get("SCREEN", "Main"));
    const QImage macro_page = picture("macro_normal.jpg");
    ASSERT_FALSE(background.isNull());
    ASSERT_FALSE(macro_page.isNull());
    // Enough for the panel's gradient and the picture's compression, far below a drawn edge.
    constexpr int kPlain = 12;
    for (const char* key : {"FUNC_MACRO_ADD", "FUNC_MACRO_DELETE", "FUNC_MACRO_RECORD",
                            "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN",
                            "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR"}) {
        const QRect place = rect_of(read_skin_rect(skin, "BUTTONINFO", key));
        EXPECT_LE(channel_spread(background, place), kPlain) << key;
        // The macro page's own picture does draw the button.
        EXPECT_GT(channel_spread(macro_page, place.translated(-1, -1)), kPlain) << key;
    }
}

// The mean difference of the colour channels between two blocks of a size.

// A key drawn as a mere frame (the per-key lighting) shows the background inside it: each key
// set's background must show its keys as their normal faces do, captions and all.
TEST(GeneratedSkin, EachKeySetIsDrawnOnItsOwnBackground) {
    const IniFile skin = skin_file("Main.ini");
    const QImage plain_background = picture(skin.get("SCREEN", "Main"));
    const QImage flip_background = picture(skin.get("SCREEN", "FlipMain"));
    const QImage plain_faces = picture("main_normal.jpg");
    const QImage flip_faces = picture("main_flip_normal.jpg");
    ASSERT_FALSE(plain_background.isNull());
    ASSERT_FALSE(flip_background.isNull());
    ASSERT_EQ(flip_background.size(), plain_background.size());
    // Compression noise only, far below a key that is missing.
    constexpr double kSame = 4.0;
    const auto expect_drawn = [&](const QImage& background, const QImage& faces,
                                  const std::string& key) {
        const QRect place = rect_of(read_skin_rect(skin, "BUTTONINFO", key));
        EXPECT_LE(test::mean_difference(background, place.topLeft(), faces,
                                        place.topLeft() - QPoint(1, 1), place.size()),
                  kSame)
            << key;
    };
    for (const char* f_key : {"KEY_03B", "KEY_03C", "KEY_03D", "KEY_03E"}) {
        expect_drawn(plain_background, plain_faces, f_key);
    }
    for (int d = 1; d <= 6; ++d) {
        expect_drawn(flip_background, flip_faces, "KEY_D" + std::to_string(d));
    }
    expect_drawn(flip_background, flip_faces, "KEY_03F"); // F5, beside them
}

TEST(GeneratedSkin, StatePicturesCoverTheirDialogs) {
    for (const char* file :
         {"Main.ini", "Composite.ini", "Profile.ini", "Rules.ini", "RuleAdd.ini"}) {
        const IniFile skin = skin_file(file);
        const QImage background = picture(skin.get("SCREEN", "Main"));
        const QImage outline = picture(skin.get("SCREEN", "Mask"));
        ASSERT_FALSE(background.isNull()) << file;
        ASSERT_EQ(outline.size(), background.size()) << file;
        // A rounded outline: the corner is cut away, the middle is window.
        EXPECT_EQ(outline.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu) << file;
        EXPECT_NE(outline.pixel(outline.width() / 2, outline.height() / 2) & 0xFFFFFF, 0xFFFFFFu)
            << file;
    }
    const QSize main = picture("main_back.jpg").size();
    expect_pictures_decode(names_with({"main", "main_flip"},
                                      {"_normal.jpg", "_over.jpg", "_down.jpg", "_disable.jpg"}),
                           main);
    expect_pictures_decode({"Arrow.jpg", "main_color0.jpg", "main_color1.jpg"});
    const QSize assignment = picture("composite_back.jpg").size();
    expect_pictures_decode(
        names_with({"key", "media", "function"}, {"_normal.jpg", "_over.jpg", "_down.jpg"}),
        assignment);
    expect_pictures_decode(
        names_with({"macro", "macro2"}, {"_normal.jpg", "_over.jpg", "_down.jpg", "_disable.jpg"}),
        assignment);
    expect_pictures_decode({"Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg"},
                           picture("profile_back.jpg").size());
    expect_pictures_decode({"RuleAdd_normal.jpg", "RuleAdd_over.jpg", "RuleAdd_down.jpg"},
                           picture("rule_add_back.jpg").size());
}

TEST(GeneratedSkin, LightingPanelBitmapsAllDecode) {
    std::vector<std::string> names{"dengup.bmp",  "dengdown.bmp",   "leftup.bmp",  "leftdown.bmp",
                                   "rightup.bmp", "rightdown.bmp",  "upup.bmp",    "updown.bmp",
                                   "downup.bmp",  "downdown.bmp",   "kuosan.bmp",  "kuosandown.bmp",
                                   "julong.bmp",  "julongdown.bmp", "sjsup.bmp",   "sjsdown.bmp",
                                   "hong.bmp",    "hongok.bmp",     "huang.bmp",   "huangok.bmp",
                                   "lv.bmp",      "lvok.bmp",       "lan.bmp",     "lanok.bmp",
                                   "user1up.bmp", "user1down.bmp",  "user2up.bmp", "user2down.bmp"};
    for (int i = 1; i <= 10; ++i) {
        names.push_back("jdt" + std::to_string(i) + ".bmp");
    }
    for (int i = 0; i <= 25; ++i) {
        names.push_back(std::to_string(i) + ".bmp");
    }
    ASSERT_EQ(names.size(), 64u);
    expect_pictures_decode(names);
    // Pictures the panel swaps in one control share its size.
    const IniFile skin = skin_file("Main.ini");
    const SkinRect slider = read_skin_rect(skin, "BUTTONINFO", "CONTROL_LightSlider");
    expect_pictures_decode({"0.bmp", "4.bmp", "9.bmp", "25.bmp"}, QSize(slider.w, slider.h));
    const SkinRect bar = read_skin_rect(skin, "BUTTONINFO", "CONTROL_JDTStatic");
    expect_pictures_decode({"jdt1.bmp", "jdt10.bmp"}, QSize(bar.w, bar.h));
}

// Every picture a window draws lies beside it drawn at 2x: twice the size exactly (the skin's
// rectangles address both) and the same drawing. Outlines are read at 1x only (a window's shape
// is in its 1x pixels), and so are the colour pictures, which are loaded but never drawn.
TEST(GeneratedSkin, EveryDrawnPictureIsAlsoDrawnAtTwiceItsSize) {
    int pairs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSkins)) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        if ((extension != ".jpg" && extension != ".bmp") || name.find('@') != std::string::npos) {
            continue;
        }
        SCOPED_TRACE(name);
        const std::string sharp_name = skin_keys::scaled_picture_file(name, 2).string();
        const bool one_scale = name.ends_with("_mask.bmp") || name.starts_with("main_color");
        if (one_scale) {
            EXPECT_FALSE(std::filesystem::exists(kSkins / sharp_name));
            continue;
        }
        const QImage plain = picture(name);
        const QImage sharp = picture(sharp_name);
        ASSERT_FALSE(sharp.isNull());
        ASSERT_EQ(sharp.size(), plain.size() * 2);
        const QImage shrunk =
            sharp.scaled(plain.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // Edges and letters fall on other pixels of the two drawings, but they must be closer to
        // each other than to either moved by a pixel (a drawing shifted or cut from another
        // place).
        const QSize inner = plain.size() - QSize(1, 1);
        const double same = test::mean_difference(plain, {0, 0}, shrunk, {0, 0}, inner);
        const double moved = std::min(test::mean_difference(plain, {1, 1}, shrunk, {0, 0}, inner),
                                      test::mean_difference(plain, {0, 0}, shrunk, {1, 1}, inner));
        EXPECT_LE(same, 0.75 * moved + 0.5) << "moved by a pixel: " << moved;
        EXPECT_LE(same, 4.0);
        ++pairs;
    }
    // The state pictures and backgrounds of four dialogs, the arrows and the 64 bitmaps.
    EXPECT_GE(pairs, 100);
    for (const auto& entry : std::filesystem::directory_iterator(kSkins)) {
        const std::string name = entry.path().filename().string();
        const auto at = name.find("@2x");
        if (at != std::string::npos) {
            EXPECT_TRUE(
                std::filesystem::exists(kSkins / (name.substr(0, at) + name.substr(at + 3))))
                << name << " has no 1x picture";
        }
    }
}

} // namespace
} // namespace tarvenor
