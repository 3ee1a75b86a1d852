#include "main_skin.h"

#include "faces.h"
#include "keyboard_layout.h"
#include "main_texts.h"

#include <algorithm>
#include <string>

namespace tarvenor::skin {

namespace {

// Lower panels.
constexpr QRect kLightingPanel(24, 404, 676, 184);
constexpr QRect kDevicePanel(716, 404, 356, 184);
// Arrow indicators and where their faces lie in Arrow.jpg.
constexpr QRect kLeftArrow(kDevicePanel.x() + 16, kDevicePanel.y() + 107, 14, 20);
constexpr QRect kRightArrow(kDevicePanel.x() + 172, kDevicePanel.y() + 107, 14, 20);
constexpr int kArrowFaces = 4;

// Lit only in the over picture: the lock lamps' and the bank indicator's selected face.
FacePainter lamp(const QString& label) {
    return [label](QPainter& p, const QRect& r, Look look) {
        draw_lamp(p, r, label, look == Look::Over);
    };
}

void draw_bank(QPainter& p, const QRect& r, Look look) {
    const bool bank_b = look == Look::Over;
    const int half = r.width() / 2;
    draw_lamp(p, QRect(r.left(), r.top(), half, r.height()), QStringLiteral("BANK A"), !bank_b);
    draw_lamp(p, QRect(r.left() + half, r.top(), r.width() - half, r.height()),
              QStringLiteral("BANK B"), bank_b);
}

// The Flip lamp: lit in its selected face only.
void draw_flip(QPainter& p, const QRect& r, Look look) {
    draw_button(p, r, {}, Look::Normal);
    const QRect lamp_area(r.left() + 4, r.top() + 4, 18, r.height() - 8);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Marked ? colour::kLedOn : colour::kCapDown);
    p.drawEllipse(QPointF(lamp_area.center()) + QPointF(0.5, 0.5), 4, 4);
    draw_fitted_text(p, r.adjusted(20, 2, -4, -2), QStringLiteral("FLIP"), 11,
                     look == Look::Marked ? colour::kWhite : colour::kTextDim, true);
}

void draw_wordmark(QPainter& p, const QRect& r, Look look) {
    const QColor ink = look == Look::Over     ? colour::kWhite
                       : look == Look::Normal ? colour::kText
                                              : colour::kTextDim;
    p.setRenderHint(QPainter::Antialiasing);
    draw_mark(p, QPointF(r.left() + 14, r.center().y() + 0.5), 20);
    p.setFont(skin_font(19, true));
    p.setPen(ink);
    p.drawText(r.adjusted(30, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("TARVENOR"));
}

// The profile-manager card: the program writes the profile's name across it.
void draw_profile_card(QPainter& p, const QRect& r, Look look) {
    draw_button(p, r, {}, look == Look::Marked ? Look::Normal : look);
    p.setFont(skin_font(9, true));
    p.setPen(colour::kTextDim);
    p.drawText(r.adjusted(10, 4, -8, -4), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("PROFILE MANAGER"));
    // The name runs up from the bottom left; the sign that the card opens a dialog stays clear
    // of it at the right.
    draw_fitted_text(p, QRect(r.right() - 28, r.top(), 24, r.height()), QStringLiteral("\u203A"),
                     22, look == Look::Normal ? colour::kTextDim : colour::kWhite, true);
}

void draw_chrome(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    draw_title_bar(p, kMainSize.width(), kMainTitleBarHeight, {});
    draw_panel(p, keyboard_plate());
    draw_panel(p, kLightingPanel, QStringLiteral("Lighting"));
    draw_panel(p, kDevicePanel, QStringLiteral("Profile and device"));
}

// F1..F4, the keys D1..D6 stand in for.
bool is_flipped_key(KeyCode code) {
    return code >= 0x3B && code <= 0x3E;
}

std::string key_skin_name(KeyCode code) {
    char name[16];
    std::snprintf(name, sizeof name, "KEY_%03X", key_index_of(code));
    return name;
}

class MainBuilder {
public:
    explicit MainBuilder(const TextTable& texts) : texts_(texts) {
        dialog_.size = kMainSize;
        dialog_.chrome = draw_chrome;
    }

    DialogSkin build() {
        add_title_bar();
        add_keys();
        add_device_panel();
        add_lighting_panel();
        add_texts();
        return std::move(dialog_);
    }

private:
    void image(std::string key, QRect rect, FacePainter paint) {
        dialog_.images.push_back({std::move(key), rect, std::move(paint)});
    }
    void plain(std::string key, QRect rect) { dialog_.plain.push_back({std::move(key), rect}); }

    void add_title_bar() {
        image("KESTRO_LINK", QRect(22, 31, 150, 34), draw_wordmark);
        image("KESTRO_VER", QRect(178, 48, 170, 16), blank_face);
        image("FUNC_PROFILES", QRect(400, 6, 296, 84), draw_profile_card);
        // Created hidden and never shown: nothing of it belongs in the pictures.
        image("FUNC_SWITCH", QRect(720, 36, 60, 24), blank_face);
        const char* keys[] = {"CONTROL_MENU", "CONTROL_HELP", "CONTROL_LINK", "CONTROL_MINIMIZE",
                              "CONTROL_CLOSE"};
        const char* glyphs[] = {"\u2261", "?", "\u2197", "\u2013", "\u2715"};
        for (int i = 0; i < 5; ++i) {
            image(keys[i], QRect(896 + 36 * i, 12, 32, 28),
                  icon_face(QString::fromUtf8(glyphs[i])));
        }
    }

    void add_keys() {
        for (int j = 0; j < 9; ++j) {
            image("FUNC_G" + std::to_string(j + 1), g_key_rect(j),
                  keycap_face(QStringLiteral("G%1").arg(j + 1), true));
        }
        for (const KeyboardKey& key : keyboard_key_list()) {
            image(key_skin_name(key.code), key_rect(key.code),
                  keycap_face(QString::fromStdString(key_name(key.code, texts_))));
            // Flip shows D1..D6 in the F1..F4 row instead: the background keeps it bare.
            dialog_.images.back().on_background = !is_flipped_key(key.code);
        }
        image("KEY_FN", fn_key_rect(), keycap_face(QStringLiteral("Fn")));
        // Their faces come from the Flip pictures; here only their places.
        for (int k = 0; k < kDKeyCount; ++k) {
            plain("KEY_D" + std::to_string(k + 1), d_key_rect(k));
        }
        image("LOCK_AB", bank_indicator_rect(), draw_bank);
        const char* locks[] = {"LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL"};
        const char* labels[] = {"CAPS", "NUM", "SCROLL"};
        for (int i = 0; i < 3; ++i) {
            image(locks[i], lock_indicator_rect(i), lamp(QString::fromLatin1(labels[i])));
        }
    }

    void add_device_panel() {
        const int x = kDevicePanel.x();
        const int y = kDevicePanel.y();
        for (int i = 0; i < 3; ++i) {
            image("FUNC_PROFILE" + std::to_string(i + 1), QRect(x + 16 + 80 * i, y + 28, 72, 28),
                  button_face({}));
        }
        image("FUNC_DEFAULT", QRect(x + 256, y + 28, 84, 28), button_face({}));
        plain("CONTROL_UsbStatic", QRect(x + 16, y + 66, 80, 26));
        const char* rates[] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
        for (int i = 0; i < 4; ++i) {
            image("FUNC_REPORT" + std::to_string(i + 1), QRect(x + 100 + 62 * i, y + 66, 58, 26),
                  button_face(QString::fromLatin1(rates[i])));
        }
        image("FLIP_1", QRect(x + 34, y + 104, 28, 26), button_face(QStringLiteral("\u25C2")));
        image("FLIP_0", QRect(x + 66, y + 104, 70, 26), draw_flip);
        image("FLIP_2", QRect(x + 140, y + 104, 28, 26), button_face(QStringLiteral("\u25B8")));
        image("FUNC_MACRO", QRect(x + 256, y + 104, 84, 26), button_face({}));
        plain("LEFT_ARROW", kLeftArrow);
        plain("RIGHT_ARROW", kRightArrow);
        plain("CONTROL_JDTStatic", QRect(x + 16, y + 154, 120, 10));
        image("CONTROL2_APPLY", QRect(x + 150, y + 144, 60, 28), button_face({}, Marked::Disabled));
        image("CONTROL_OK", QRect(x + 216, y + 144, 60, 28), button_face({}));
        image("CONTROL_CANCEL", QRect(x + 282, y + 144, 60, 28), button_face({}));
        const char* faces[] = {"UP_ARROW_LEFT1", "DOWN_ARROW_LEFT1", "UP_ARROW_RIGHT1",
                               "DOWN_ARROW_RIGHT1"};
        for (int i = 0; i < kArrowFaces; ++i) {
            dialog_.extra.push_back(
                {"BUTTONINFO2", faces[i], rect_value(QRect(1 + 16 * i, 1, 14, 20))});
        }
    }

    void add_lighting_panel() {
        const int x = kLightingPanel.x();
        const int y = kLightingPanel.y();
        const int label1 = x + 16;
        const int control1 = x + 106;
        const int label2 = x + 356;
        const int control2 = x + 446;
        const int row[] = {y + 28, y + 68, y + 108, y + 146};
        auto label = [&](const char* key, int left, int top) {
            plain(key, QRect(left, top, 86, 24));
        };
        label("CONTROL_DengStatic", label1, row[0]);
        plain("CONTROL_DengStaPic", QRect(control1, row[0], 56, 24));
        plain("CONTROL_XGcombox", QRect(control1 + 70, row[0], 170, 24));
        label("CONTROL_LightStatic", label1, row[1]);
        plain("CONTROL_LightSlider", QRect(control1, row[1], 200, 24));
        label("CONTROL_SpeedStatic", label1, row[2]);
        plain("CONTROL_SpeedSlider", QRect(control1, row[2], 200, 24));
        // Colour with random colour: two alternative groups in one place.
        for (const char* group : {"HX", "FY"}) {
            const std::string g = group;
            const bool hx = g == "HX";
            label(((hx ? "CONTROL_HXysStatic" : "CONTROL_FYYSStatic")), label2, row[1]);
            plain(hx ? "CONTROL_HXysButton" : "CONTROL_FYYSButton",
                  QRect(control2, row[1], 64, 24));
            plain(hx ? "CONTROL_HXsjsStatic" : "CONTROL_FYSJSStatic",
                  QRect(control2 + 76, row[1], 70, 24));
            plain(hx ? "CONTROL_HXsjsStaPic" : "CONTROL_FYSJSStaPic",
                  QRect(control2 + 150, row[1], 24, 24));
        }
        // Direction: the plain and third layouts share a row, the second sits below colour.
        const int direction_rows[] = {row[1], row[2], row[1]};
        const char* suffixes[] = {"", "2", "3"};
        for (int i = 0; i < 3; ++i) {
            const std::string s = suffixes[i];
            label(("CONTROL_BLFXStatic" + s).c_str(), label2, direction_rows[i]);
            plain("CONTROL_BLFXLStaPic" + s, QRect(control2, direction_rows[i] - 2, 32, 28));
            plain("CONTROL_BLFXRStaPic" + s, QRect(control2 + 38, direction_rows[i] - 2, 32, 28));
        }
        const char* choices[] = {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC",
                                 "CONTROL_LANPIC"};
        for (int i = 0; i < 4; ++i) {
            plain(choices[i], QRect(control2 + 36 * i, row[1] - 2, 28, 28));
        }
        // Per-key colours.
        label("CONTROL_USERysStatic", label2, row[1]);
        plain("CONTROL_USERysButton", QRect(control2, row[1], 64, 24));
        label("CONTROL_USERjsStatic", label2, row[2]);
        plain("CONTROL_USERjsButton", QRect(control2, row[2], 64, 24));
        label("CONTROL_USERgjStatic", label1, row[2]);
        plain("CONTROL_USERgjStaPic1", QRect(control1, row[2] - 2, 32, 28));
        plain("CONTROL_USERgjStaPic2", QRect(control1 + 38, row[2] - 2, 32, 28));
        plain("CONTROL_umCombo", QRect(control2 + 76, row[2], 100, 24));
        // Controls no effect shows; they keep a place in the last row.
        const char* hidden_labels[] = {"CONTROL_JTysStatic",   "CONTROL_FYCFStatic",
                                       "CONTROL_FYdjcfStatic", "CONTROL_FYggcfStatc",
                                       "CONTROL_TSysStatic",   "CONTROL_TSsjsStatic",
                                       "CONTROL_CDysStatic",   "CONTROL_CDsjsStatic"};
        for (const char* key : hidden_labels) {
            label(key, label1, row[3]);
        }
        const char* hidden_controls[] = {"CONTROL_JTysButton",   "CONTROL_FYdjcfStaPic",
                                         "CONTROL_FYggcfStaPic", "CONTROL_TSysButton",
                                         "CONTROL_TSsjsStaPic",  "CONTROL_CDysButton",
                                         "CONTROL_CDsjsStaPic"};
        for (const char* key : hidden_controls) {
            plain(key, QRect(control1, row[3], 64, 24));
        }
    }

    void add_texts() {
        dialog_.extra.insert(dialog_.extra.begin(),
                             {{"SCREEN", "Main", "main_back.jpg"},
                              {"SCREEN", "Mask", "main_mask.bmp"},
                              {"SCREEN", "Link", "https://tarvenor.example/"}});
        for (const ControlName& name : control_names()) {
            dialog_.extra.push_back({"Control_Name", name.key, name.chinese});
            dialog_.extra.push_back({"Control_Name1", name.key, name.english});
        }
        for (const EffectName& effect : effect_names()) {
            dialog_.extra.push_back({"Mode", std::to_string(effect.number), effect.chinese});
            dialog_.extra.push_back({"Mode1", std::to_string(effect.number), effect.english});
        }
    }

    const TextTable& texts_;
    DialogSkin dialog_;
};

} // namespace

DialogSkin main_skin(const TextTable& texts) {
    return MainBuilder(texts).build();
}

DialogSkin flip_skin(const TextTable& texts) {
    DialogSkin flip = main_skin(texts);
    std::erase_if(flip.images, [](const ImageControl& control) {
        return std::ranges::any_of(keyboard_key_list(), [&control](const KeyboardKey& key) {
            return is_flipped_key(key.code) && control.key == key_skin_name(key.code);
        });
    });
    for (int k = 0; k < kDKeyCount; ++k) {
        const QString legend = QStringLiteral("D%1").arg(k + 1);
        flip.images.push_back(
            {"KEY_D" + std::to_string(k + 1), d_key_rect(k), keycap_face(legend)});
    }
    return flip;
}

QImage arrow_picture(const QImage& background) {
    QImage picture(16 * kArrowFaces, 22, QImage::Format_RGB32);
    picture.fill(colour::kPanel);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect sources[] = {kLeftArrow, kLeftArrow, kRightArrow, kRightArrow};
    for (int i = 0; i < kArrowFaces; ++i) {
        const QRect face(16 * i, 0, 14, 20);
        p.drawImage(face.topLeft(), background, sources[i]);
        const bool up = i % 2 == 0;
        const qreal cx = face.center().x() + 0.5;
        const qreal tip = up ? face.top() + 4 : face.bottom() - 4;
        const qreal base = up ? face.bottom() - 5 : face.top() + 5;
        const QPointF arrow[] = {{cx, tip}, {cx - 5, base}, {cx + 5, base}};
        p.setPen(Qt::NoPen);
        p.setBrush(up ? colour::kAccent : colour::kTextDim);
        p.drawPolygon(arrow, 3);
    }
    return picture;
}

} // namespace tarvenor::skin
