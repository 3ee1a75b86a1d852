#include "main_skin.h"

#include "faces.h"
#include "keyboard_layout.h"
#include "main_texts.h"
#include "ui/logic/skin_keys.h"

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
void draw_lock_lamp(QPainter& p, const QRect& r, Look look) {
    draw_lamp(p, r, look == Look::Over);
}

// The bank indicator's two lamps, side by side.
QRect bank_lamp_rect(int bank) {
    const QRect r = bank_indicator_rect();
    const int half = r.width() / 2;
    return bank == 0 ? QRect(r.left(), r.top(), half, r.height())
                     : QRect(r.left() + half, r.top(), r.width() - half, r.height());
}

void draw_bank(QPainter& p, const QRect&, Look look) {
    const bool bank_b = look == Look::Over;
    draw_lamp(p, bank_lamp_rect(0), !bank_b);
    draw_lamp(p, bank_lamp_rect(1), bank_b);
}

constexpr QRect kFlipRect(kDevicePanel.x() + 66, kDevicePanel.y() + 104, 70, 26);

// The Flip lamp: lit in its selected face only.
void draw_flip(QPainter& p, const QRect& r, Look look) {
    draw_button(p, r, {}, Look::Normal);
    const QRect lamp_area(r.left() + 4, r.top() + 4, 18, r.height() - 8);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Marked ? colour::kLedOn : colour::kCapDown);
    p.drawEllipse(QPointF(lamp_area.center()) + QPointF(0.5, 0.5), 4, 4);
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
    // The name runs up from the bottom left; the sign that the card opens a dialog stays clear
    // of it at the right.
    draw_fitted_text(p, QRect(r.right() - 28, r.top(), 24, r.height()), QStringLiteral("\u203A"),
                     22, look == Look::Normal ? colour::kTextDim : colour::kWhite, true);
}

void draw_chrome(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    draw_title_bar(p, kMainSize.width(), kMainTitleBarHeight, false);
    draw_panel(p, keyboard_plate());
    draw_panel(p, kLightingPanel);
    draw_panel(p, kDevicePanel);
}

// F1..F4, the keys D1..D6 stand in for.
bool is_flipped_key(KeyCode code) {
    return code >= 0x3B && code <= 0x3E;
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
        add_language_labels();
        add_texts();
        return std::move(dialog_);
    }

private:
    void image(std::string key, QRect rect, FacePainter paint) {
        dialog_.images.push_back({std::move(key), rect, std::move(paint)});
    }
    void plain(std::string key, QRect rect) { dialog_.plain.push_back({std::move(key), rect}); }

    void add_title_bar() {
        image(skin_keys::main_window::kSkinLink, QRect(22, 31, 150, 34), draw_wordmark);
        image(skin_keys::main_window::kVersion, QRect(178, 48, 170, 16), blank_face);
        image(skin_keys::main_window::kProfiles, QRect(400, 6, 296, 84), draw_profile_card);
        // Created hidden and never shown: nothing of it belongs in the pictures.
        image(skin_keys::main_window::kSwitch, QRect(720, 36, 60, 24), blank_face);
        const char* keys[] = {skin_keys::main_window::kMenu, skin_keys::main_window::kHelp,
                              skin_keys::main_window::kVendorLink,
                              skin_keys::main_window::kMinimise, skin_keys::main_window::kClose};
        const char* glyphs[] = {"\u2261", "?", "\u2197", "\u2013", "\u2715"};
        for (int i = 0; i < 5; ++i) {
            image(keys[i], QRect(896 + 36 * i, 12, 32, 28),
                  icon_face(QString::fromUtf8(glyphs[i])));
        }
    }

    void add_keys() {
        for (int j = 0; j < 9; ++j) {
            image(skin_keys::main_window::g_key(j), g_key_rect(j),
                  keycap_face(QStringLiteral("G%1").arg(j + 1), true));
        }
        for (const KeyboardKey& key : keyboard_key_list()) {
            image(skin_keys::main_window::keyboard_key(key_index_of(key.code)), key_rect(key.code),
                  keycap_face(QString::fromStdString(key_name(key.code, texts_))));
        }
        image(skin_keys::main_window::kFn, fn_key_rect(), keycap_face(QStringLiteral("Fn")));
        // Their faces come from the Flip pictures; here only their places.
        for (int k = 0; k < kDKeyCount; ++k) {
            plain(skin_keys::main_window::d_key(k), d_key_rect(k));
        }
        image(skin_keys::main_window::kBankIndicator, bank_indicator_rect(), draw_bank);
        const char* locks[] = {skin_keys::main_window::kCapsLock, skin_keys::main_window::kNumLock,
                               skin_keys::main_window::kScrollLock};
        for (int i = 0; i < 3; ++i) {
            image(locks[i], lock_indicator_rect(i), draw_lock_lamp);
        }
    }

    void add_device_panel() {
        const int x = kDevicePanel.x();
        const int y = kDevicePanel.y();
        for (int i = 0; i < 3; ++i) {
            image(skin_keys::main_window::kProfileButtons[i],
                  QRect(x + 16 + 80 * i, y + 28, 72, 28), button_face({}));
        }
        image(skin_keys::main_window::kDefault, QRect(x + 256, y + 28, 84, 28), button_face({}));
        plain(skin_keys::main_window::kReportRateLabel, QRect(x + 16, y + 66, 80, 26));
        const char* rates[] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
        const auto rate_rect = [x, y](int i) { return QRect(x + 100 + 62 * i, y + 66, 58, 26); };
        // One size for the row: the one its longest caption fits.
        int pixels = kButtonLegendPixels;
        for (int i = 0; i < 4; ++i) {
            pixels = button_legend_pixels(rate_rect(i), QString::fromLatin1(rates[i]), pixels);
        }
        for (int i = 0; i < 4; ++i) {
            image(skin_keys::main_window::kReportRateButtons[i], rate_rect(i),
                  button_face(QString::fromLatin1(rates[i]), Marked::Selected, pixels));
        }
        image(skin_keys::main_window::kFlipLeft, QRect(x + 34, y + 104, 28, 26),
              button_face(QStringLiteral("\u25C2")));
        image(skin_keys::main_window::kFlipIndicator, kFlipRect, draw_flip);
        image(skin_keys::main_window::kFlipRight, QRect(x + 140, y + 104, 28, 26),
              button_face(QStringLiteral("\u25B8")));
        image(skin_keys::main_window::kMacroEdit, QRect(x + 256, y + 104, 84, 26), button_face({}));
        plain(skin_keys::main_window::kLeftArrow, kLeftArrow);
        plain(skin_keys::main_window::kRightArrow, kRightArrow);
        plain(skin_keys::main_window::kBusyBar, QRect(x + 16, y + 154, 120, 10));
        image(skin_keys::kApply, QRect(x + 150, y + 144, 60, 28),
              button_face({}, Marked::Disabled));
        image(skin_keys::kOk, QRect(x + 216, y + 144, 60, 28), button_face({}));
        image(skin_keys::kCancel, QRect(x + 282, y + 144, 60, 28), button_face({}));
        const char* faces[] = {
            skin_keys::main_window::kLeftArrowUp, skin_keys::main_window::kLeftArrowDown,
            skin_keys::main_window::kRightArrowUp, skin_keys::main_window::kRightArrowDown};
        for (int i = 0; i < kArrowFaces; ++i) {
            dialog_.extra.push_back(
                {skin_keys::kArrowFaces, faces[i], rect_value(QRect(1 + 16 * i, 1, 14, 20))});
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
        label(skin_keys::lighting::kSwitchLabel, label1, row[0]);
        plain(skin_keys::lighting::kSwitch, QRect(control1, row[0], 56, 24));
        plain(skin_keys::lighting::kEffectList, QRect(control1 + 70, row[0], 170, 24));
        label(skin_keys::lighting::kBrightnessLabel, label1, row[1]);
        plain(skin_keys::lighting::kBrightness, QRect(control1, row[1], 200, 24));
        label(skin_keys::lighting::kSpeedLabel, label1, row[2]);
        plain(skin_keys::lighting::kSpeed, QRect(control1, row[2], 200, 24));
        // Colour with random colour: two alternative groups in one place.
        for (const char* group : {"HX", "FY"}) {
            const std::string g = group;
            const bool hx = g == "HX";
            label(((hx ? skin_keys::lighting::kColourALabel : skin_keys::lighting::kColourBLabel)),
                  label2, row[1]);
            plain(hx ? skin_keys::lighting::kColourA : skin_keys::lighting::kColourB,
                  QRect(control2, row[1], 64, 24));
            plain(hx ? skin_keys::lighting::kRandomALabel : skin_keys::lighting::kRandomBLabel,
                  QRect(control2 + 76, row[1], 70, 24));
            plain(hx ? skin_keys::lighting::kRandomA : skin_keys::lighting::kRandomB,
                  QRect(control2 + 150, row[1], 24, 24));
        }
        // Direction: the plain and third layouts share a row, the second sits below colour.
        const int direction_rows[] = {row[1], row[2], row[1]};
        const char* suffixes[] = {"", "2", "3"};
        for (int i = 0; i < 3; ++i) {
            const std::string s = suffixes[i];
            label((skin_keys::lighting::kDirectionLabel + s).c_str(), label2, direction_rows[i]);
            plain(skin_keys::lighting::kDirectionLeft + s,
                  QRect(control2, direction_rows[i] - 2, 32, 28));
            plain(skin_keys::lighting::kDirectionRight + s,
                  QRect(control2 + 38, direction_rows[i] - 2, 32, 28));
        }
        const auto& choices = skin_keys::lighting::kColourChoices;
        for (int i = 0; i < 4; ++i) {
            plain(choices[i], QRect(control2 + 36 * i, row[1] - 2, 28, 28));
        }
        // Per-key colours.
        label(skin_keys::lighting::kUserColourLabel, label2, row[1]);
        plain(skin_keys::lighting::kUserColour, QRect(control2, row[1], 64, 24));
        label(skin_keys::lighting::kBaseColourLabel, label2, row[2]);
        plain(skin_keys::lighting::kBaseColour, QRect(control2, row[2], 64, 24));
        label(skin_keys::lighting::kToolLabel, label1, row[2]);
        plain(skin_keys::lighting::kTools[0], QRect(control1, row[2] - 2, 32, 28));
        plain(skin_keys::lighting::kTools[1], QRect(control1 + 38, row[2] - 2, 32, 28));
        plain(skin_keys::lighting::kPresetList, QRect(control2 + 76, row[2], 100, 24));
        // Controls no effect shows; they keep a place in the last row.
        label(skin_keys::lighting::kNotice, label1, row[3]);
        for (const char* key : skin_keys::lighting::kIdleLabels) {
            label(key, label1, row[3]);
        }
        for (const char* key : skin_keys::lighting::kIdleControls) {
            plain(key, QRect(control1, row[3], 64, 24));
        }
    }

    // In the order of skin_keys::main_window::kLanguageLabels.
    void add_language_labels() {
        const QRect title(12, 6, 300, 14);
        const QRect places[] = {
            title.translated(kLightingPanel.topLeft()), title.translated(kDevicePanel.topLeft()),
            // Wider outward: the two words stand apart.
            lamp_label_rect(bank_lamp_rect(0)).adjusted(-8, 0, 0, 0),
            lamp_label_rect(bank_lamp_rect(1)).adjusted(0, 0, 8, 0),
            lamp_label_rect(lock_indicator_rect(0)), lamp_label_rect(lock_indicator_rect(1)),
            lamp_label_rect(lock_indicator_rect(2)), kFlipRect.adjusted(20, 2, -4, -2),
            QRect(410, 10, 220, 14)};
        static_assert(std::size(places) == skin_keys::main_window::kLanguageLabels.size());
        for (std::size_t i = 0; i < std::size(places); ++i) {
            plain(skin_keys::main_window::kLanguageLabels[i].key, places[i]);
        }
    }

    void add_texts() {
        dialog_.extra.insert(
            dialog_.extra.begin(),
            {{skin_keys::kScreen, skin_keys::kBackground, "main_back.jpg"},
             {skin_keys::kScreen, skin_keys::kOutline, "main_mask.bmp"},
             {skin_keys::kScreen, skin_keys::kFlipBackground, "main_flip_back.jpg"},
             {skin_keys::kScreen, skin_keys::kLink, "https://tarvenor.example/"}});
        for (const ControlName& name : control_names()) {
            dialog_.extra.push_back({skin_keys::kControlNames[0], name.key, name.chinese});
            dialog_.extra.push_back({skin_keys::kControlNames[1], name.key, name.english});
        }
        for (const EffectName& effect : effect_names()) {
            dialog_.extra.push_back(
                {skin_keys::kEffectNames[0], std::to_string(effect.number), effect.chinese});
            dialog_.extra.push_back(
                {skin_keys::kEffectNames[1], std::to_string(effect.number), effect.english});
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
            return is_flipped_key(key.code) &&
                   control.key == skin_keys::main_window::keyboard_key(key_index_of(key.code));
        });
    });
    for (int k = 0; k < kDKeyCount; ++k) {
        const QString legend = QStringLiteral("D%1").arg(k + 1);
        flip.images.push_back(
            {skin_keys::main_window::d_key(k), d_key_rect(k), keycap_face(legend)});
    }
    return flip;
}

QImage arrow_picture(const QImage& background) {
    const int scale = qRound(background.devicePixelRatio());
    QImage picture = scaled_picture(QSize(16 * kArrowFaces, 22), scale, colour::kPanel);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect sources[] = {kLeftArrow, kLeftArrow, kRightArrow, kRightArrow};
    for (int i = 0; i < kArrowFaces; ++i) {
        const QRect face(16 * i, 0, 14, 20);
        const QRect& source = sources[i];
        p.drawImage(face, background, QRect(source.topLeft() * scale, source.size() * scale));
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
