#include "dialog_skins.h"

#include "faces.h"
#include "ui/logic/skin_keys.h"

namespace tarvenor::skin {

namespace {

constexpr QRect kPageBadge(24, 128, 120, 236);
constexpr int kBodyLeft = 156;
constexpr int kBodyWidth = 380;

struct PageArt {
    QString glyph;
    QColor tint;
};

PageArt page_art(Page page) {
    switch (page) {
    case Page::Macro:
    case Page::Macro2:
        return {QStringLiteral("\u25CF"), QColor(0xe0, 0x4f, 0x5f)};
    case Page::Media:
        return {QStringLiteral("\u266B"), QColor(0x9b, 0x6b, 0xf0)};
    case Page::Function:
        return {QStringLiteral("\u0192"), QColor(0x3c, 0xc8, 0x8c)};
    case Page::Key:
        break;
    }
    return {QStringLiteral("\u2328"), colour::kAccent};
}

// The page mask: a badge with the page's sign, redrawn with each page's pictures; the program
// writes the page's name under the sign.
FacePainter page_badge(Page page) {
    return [art = page_art(page)](QPainter& p, const QRect& r, Look) {
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        fill.setColorAt(0, art.tint.darker(260));
        fill.setColorAt(1, colour::kPanel);
        p.setPen(QPen(art.tint.darker(150), 1));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        draw_fitted_text(p, r.adjusted(10, 30, -10, -100), art.glyph, 54, art.tint);
    };
}

void assignment_chrome(QPainter& p) {
    draw_title_bar(p, kAssignmentSize.width(), 44, false);
    draw_panel(p, QRect(16, 116, 528, 260));
}

// Buttons the macro-only mode shows as unavailable.
FacePainter page_button(Page page) {
    return page == Page::Macro2 ? unavailable_face({}) : button_face({}, Marked::Disabled);
}

} // namespace

DialogSkin assignment_skin(Page page) {
    DialogSkin d;
    d.size = kAssignmentSize;
    d.chrome = assignment_chrome;
    d.extra = {{skin_keys::kScreen, skin_keys::kBackground, "composite_back.jpg"},
               {skin_keys::kScreen, skin_keys::kOutline, "composite_mask.bmp"}};
    auto image = [&d](std::string key, QRect rect, FacePainter paint, bool on_background = true) {
        d.images.push_back({std::move(key), rect, std::move(paint), on_background});
    };
    // Shown on the macro page only.
    constexpr bool kMacroPageOnly = false;
    auto plain = [&d](std::string key, QRect rect) { d.plain.push_back({std::move(key), rect}); };
    const FacePainter action = button_face({}, Marked::Disabled);

    image(skin_keys::assignment::kPageBadge, kPageBadge, page_badge(page));
    const QRect title(44, 8, 300, 28);
    image(skin_keys::assignment::kTitle, title, blank_face);
    plain(skin_keys::assignment::kTitleLabel.key, title);
    plain(skin_keys::assignment::kPageLabel.key,
          kPageBadge.adjusted(8, kPageBadge.height() - 90, -8, -50));
    image(skin_keys::assignment::kOsk, QRect(468, 8, 34, 28), icon_face(QStringLiteral("\u2328")));
    image(skin_keys::assignment::kClear, QRect(508, 8, 34, 28),
          page == Page::Macro2 ? unavailable_icon_face(QStringLiteral("\u232B"))
                               : icon_face(QStringLiteral("\u232B")));
    image(skin_keys::assignment::kKeyPage, QRect(16, 64, 128, 34), page_button(page));
    image(skin_keys::assignment::kMacroPage, QRect(150, 64, 128, 34), action);
    image(skin_keys::assignment::kMediaPage, QRect(284, 64, 128, 34), page_button(page));
    image(skin_keys::assignment::kFunctionPage, QRect(418, 64, 126, 34), page_button(page));

    plain(skin_keys::assignment::kPrompt, QRect(kBodyLeft, 128, kBodyWidth, 20));
    for (const char* prompt :
         {skin_keys::assignment::kKeyPrompt, skin_keys::assignment::kMacroPrompt,
          skin_keys::assignment::kMediaPrompt, skin_keys::assignment::kFunctionPrompt}) {
        plain(prompt, QRect(kBodyLeft, 152, kBodyWidth, 20));
    }
    plain(skin_keys::assignment::kKeyField, QRect(kBodyLeft, 180, kBodyWidth, 44));
    plain(skin_keys::assignment::kMediaList, QRect(kBodyLeft, 180, kBodyWidth, 28));
    plain(skin_keys::assignment::kFunctionList, QRect(kBodyLeft, 180, kBodyWidth, 28));

    plain(skin_keys::assignment::kMacroList, QRect(kBodyLeft, 180, 260, 28));
    image(skin_keys::assignment::kAddMacro, QRect(422, 180, 54, 28),
          button_face(QStringLiteral("+"), Marked::Disabled), kMacroPageOnly);
    image(skin_keys::assignment::kDeleteMacro, QRect(482, 180, 54, 28),
          button_face(QStringLiteral("\u2212"), Marked::Disabled), kMacroPageOnly);
    plain(skin_keys::assignment::kActionList, QRect(kBodyLeft, 214, 200, 150));
    image(skin_keys::assignment::kRecord, QRect(364, 214, 172, 28), action, kMacroPageOnly);
    const char* moves[] = {
        skin_keys::assignment::kMoveTop,      skin_keys::assignment::kMoveUp,
        skin_keys::assignment::kMoveDown,     skin_keys::assignment::kMoveBottom,
        skin_keys::assignment::kDeleteAction, skin_keys::assignment::kClearActions};
    for (int i = 0; i < 6; ++i) {
        image(moves[i], QRect(364 + 88 * (i % 2), 248 + 30 * (i / 2), 84, 26), action,
              kMacroPageOnly);
    }
    plain(skin_keys::assignment::kCyclesLabel, QRect(364, 340, 84, 22));
    plain(skin_keys::assignment::kCycles, QRect(452, 340, 84, 22));
    plain(skin_keys::assignment::kRecordDelay, QRect(24, 392, 18, 18));
    plain(skin_keys::assignment::kRecordDelayLabel, QRect(46, 390, 220, 22));
    image(skin_keys::assignment::kApply, QRect(276, 390, 84, 30), action);
    image(skin_keys::kOk, QRect(364, 390, 84, 30), action);
    image(skin_keys::kCancel, QRect(452, 390, 84, 30), action);
    return d;
}

DialogSkin profile_skin() {
    DialogSkin d;
    d.size = kProfileSize;
    d.chrome = [](QPainter& p) {
        draw_title_bar(p, kProfileSize.width(), 40, true);
        draw_panel(p, QRect(12, 48, 456, 206));
    };
    d.extra = {{skin_keys::kScreen, skin_keys::kBackground, "profile_back.jpg"},
               {skin_keys::kScreen, skin_keys::kOutline, "profile_mask.bmp"}};
    d.plain.push_back({skin_keys::profile::kList, QRect(16, 52, 448, 198)});
    d.plain.push_back(
        {skin_keys::profile::kTitleLabel.key, QRect(44, 0, kProfileSize.width() - 60, 40)});
    // The program writes the buttons' captions.
    const struct {
        const char* key;
        QRect rect;
    } buttons[] = {{skin_keys::profile::kAdd, QRect(16, 262, 80, 28)},
                   {skin_keys::profile::kLoad, QRect(102, 262, 80, 28)},
                   {skin_keys::profile::kDelete, QRect(188, 262, 80, 28)},
                   {skin_keys::kOk, QRect(212, 302, 80, 28)},
                   {skin_keys::kCancel, QRect(298, 302, 80, 28)},
                   {skin_keys::kApply, QRect(384, 302, 80, 28)}};
    for (const auto& b : buttons) {
        d.images.push_back({b.key, b.rect, button_face({})});
    }
    return d;
}

// The same look as the profile manager: a title bar, the list on a panel, buttons under it.
DialogSkin rules_skin() {
    DialogSkin d;
    d.size = kRulesSize;
    d.chrome = [](QPainter& p) {
        draw_title_bar(p, kRulesSize.width(), 40, true);
        draw_panel(p, QRect(12, 80, 456, 176));
    };
    d.extra = {{skin_keys::kScreen, skin_keys::kBackground, "rules_back.jpg"},
               {skin_keys::kScreen, skin_keys::kOutline, "rules_mask.bmp"}};
    d.plain = {{skin_keys::rules::kTitleLabel.key, QRect(44, 0, kRulesSize.width() - 60, 40)},
               {skin_keys::rules::kEnabled, QRect(16, 50, 448, 24)},
               {skin_keys::rules::kList, QRect(16, 84, 448, 168)},
               {skin_keys::rules::kOtherLabel.key, QRect(16, 302, 170, 26)},
               {skin_keys::rules::kDefault, QRect(190, 302, 274, 26)},
               // Beside Close, tall enough for four lines of a long reason in either language.
               {skin_keys::rules::kStatusLabel.key, QRect(16, 334, 356, 76)}};
    const struct {
        const char* key;
        QRect rect;
    } buttons[] = {{skin_keys::rules::kAdd, QRect(16, 264, 80, 28)},
                   {skin_keys::rules::kRemove, QRect(102, 264, 80, 28)},
                   {skin_keys::kCancel, QRect(384, 380, 80, 28)}};
    for (const auto& b : buttons) {
        d.images.push_back({b.key, b.rect, button_face({})});
    }
    return d;
}

// The rules page's Add, in the rules page's look: the prompt and the two choices on a panel.
DialogSkin rule_add_skin() {
    DialogSkin d;
    d.size = kRuleAddSize;
    d.chrome = [](QPainter& p) {
        draw_title_bar(p, kRuleAddSize.width(), 40, true);
        draw_panel(p, QRect(12, 48, 396, 136));
    };
    d.extra = {{skin_keys::kScreen, skin_keys::kBackground, "rule_add_back.jpg"},
               {skin_keys::kScreen, skin_keys::kOutline, "rule_add_mask.bmp"}};
    d.plain = {{skin_keys::rule_add::kTitleLabel.key, QRect(44, 0, kRuleAddSize.width() - 60, 40)},
               {skin_keys::rule_add::kPromptLabel.key, QRect(20, 54, 380, 40)},
               {skin_keys::rule_add::kApplication, QRect(20, 98, 380, 28)},
               {skin_keys::rule_add::kProfileLabel.key, QRect(20, 144, 120, 28)},
               {skin_keys::rule_add::kProfile, QRect(144, 144, 256, 28)}};
    d.images = {{skin_keys::kOk, QRect(234, 196, 80, 28), button_face({})},
                {skin_keys::kCancel, QRect(324, 196, 80, 28), button_face({})}};
    return d;
}

} // namespace tarvenor::skin
