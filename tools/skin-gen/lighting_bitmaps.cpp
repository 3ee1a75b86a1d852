#include "lighting_bitmaps.h"

#include "dialog_skin.h"
#include "draw.h"
#include "look.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace tarvenor::skin {

namespace {

constexpr int kSliderSteps = 5;

using Art = std::function<void(QPainter&, const QRect&)>;

// A bitmap on the lighting panel's colour, drawn anti-aliased at any scale.
struct Bitmap {
    QSize size;
    Art art;

    QImage draw(int scale) const {
        QImage picture = scaled_picture(size, scale, colour::kPanel);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        art(painter, QRect(QPoint(0, 0), size));
        return picture;
    }
};

Bitmap bitmap(QSize size, Art art) {
    return {size, std::move(art)};
}

Bitmap toggle(bool on) {
    return bitmap({56, 24}, [on](QPainter& p, const QRect& r) {
        const QRectF track = QRectF(r).adjusted(2, 3, -2, -3);
        p.setPen(QPen(on ? colour::kAccent : colour::kPanelEdge.lighter(140), 1));
        p.setBrush(on ? colour::kAccentDeep : colour::kField);
        p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
        const qreal radius = track.height() / 2 - 2;
        const QPointF knob(on ? track.right() - radius - 2 : track.left() + radius + 2,
                           track.center().y());
        p.setPen(Qt::NoPen);
        p.setBrush(on ? colour::kWhite : colour::kTextDim);
        p.drawEllipse(knob, radius, radius);
    });
}

// A square tile; active tiles are lit with the accent.
void tile(QPainter& p, const QRect& r, bool active) {
    p.setPen(QPen(active ? colour::kAccent : colour::kPanelEdge.lighter(130), 1.2));
    p.setBrush(active ? colour::kAccentDeep : colour::kCap);
    p.drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 5, 5);
}

QColor glyph_ink(bool active) {
    return active ? colour::kWhite : colour::kTextDim;
}

// An arrow pointing at `angle` degrees (0 = right, 90 = down).
void arrow(QPainter& p, QPointF centre, qreal angle, qreal length, const QColor& ink) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(-length / 2, 0), QPointF(length / 2, 0));
    p.drawLine(QPointF(length / 2, 0), QPointF(length / 2 - 5, -4.5));
    p.drawLine(QPointF(length / 2, 0), QPointF(length / 2 - 5, 4.5));
    p.restore();
}

Bitmap direction(qreal angle, bool active) {
    return bitmap({32, 28}, [angle, active](QPainter& p, const QRect& r) {
        tile(p, r, active);
        arrow(p, QRectF(r).center(), angle, 16, glyph_ink(active));
    });
}

// Four arrows pointing out of (spread) or into (gather) the middle.
Bitmap radial(bool outward, bool active) {
    return bitmap({32, 28}, [outward, active](QPainter& p, const QRect& r) {
        tile(p, r, active);
        const QPointF c = QRectF(r).center();
        for (const qreal angle : {0.0, 90.0, 180.0, 270.0}) {
            const qreal rad = angle * 3.14159265 / 180.0;
            const QPointF offset(6 * std::cos(rad), 5 * std::sin(rad));
            arrow(p, c + offset, outward ? angle : angle + 180, 7, glyph_ink(active));
        }
    });
}

Bitmap random_box(bool on) {
    return bitmap({24, 24}, [on](QPainter& p, const QRect& r) {
        tile(p, r, on);
        if (!on) {
            return;
        }
        const QColor dots[] = {Qt::red, Qt::green, QColor(0x30, 0x90, 0xff), Qt::yellow};
        for (int i = 0; i < 4; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(dots[i]);
            p.drawEllipse(QPointF(8.5 + 7 * (i % 2), 8.5 + 7 * (i / 2)), 3, 3);
        }
    });
}

Bitmap swatch(QColor fill, bool chosen) {
    return bitmap({28, 28}, [fill, chosen](QPainter& p, const QRect& r) {
        p.setPen(QPen(chosen ? colour::kWhite : colour::kCapEdge, chosen ? 2.0 : 1.0));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(r).adjusted(2, 2, -2, -2), 6, 6);
        if (chosen) {
            p.setPen(QPen(colour::kWhite, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const QPointF tick[] = {{8.5, 14.5}, {12.5, 18.5}, {19.5, 9.5}};
            p.drawPolyline(tick, 3);
        }
    });
}

// Tool 1 paints with the user colour (a brush), tool 2 with the base colour (a drop).
Bitmap tool(bool base, bool active) {
    return bitmap({32, 28}, [base, active](QPainter& p, const QRect& r) {
        tile(p, r, active);
        const QColor ink = glyph_ink(active);
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (base) {
            QPainterPath drop;
            drop.moveTo(16, 6);
            drop.cubicTo(22, 13, 22, 21, 16, 21);
            drop.cubicTo(10, 21, 10, 13, 16, 6);
            p.setBrush(active ? colour::kAccent : Qt::NoBrush);
            p.drawPath(drop);
        } else {
            p.drawLine(QPointF(10, 20), QPointF(20, 8));
            p.setBrush(active ? colour::kAccent : ink);
            p.drawEllipse(QPointF(9.5, 20.5), 2.5, 2.5);
        }
    });
}

Bitmap busy_frame(int frame) {
    return bitmap({120, 10}, [frame](QPainter& p, const QRect& r) {
        const QRectF track = QRectF(r).adjusted(0.5, 1.5, -0.5, -1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kField);
        p.drawRoundedRect(track, 3, 3);
        const qreal width = 36;
        const qreal left = track.left() + (track.width() - width) * frame / 9.0;
        QLinearGradient glow(left, 0, left + width, 0);
        glow.setColorAt(0, colour::kAccentDeep);
        glow.setColorAt(0.5, colour::kAccent);
        glow.setColorAt(1, colour::kAccentDeep);
        p.setBrush(glow);
        p.drawRoundedRect(QRectF(left, track.top(), width, track.height()), 3, 3);
    });
}

// A five-step slider with the knob at `step`; steps past the end fill the whole track.
Bitmap slider(int step, const QColor& accent) {
    return bitmap({200, 24}, [step, accent](QPainter& p, const QRect& r) {
        const qreal left = 10;
        const qreal right = r.width() - 10;
        const qreal y = r.height() / 2.0;
        const qreal spacing = (right - left) / (kSliderSteps - 1);
        const qreal knob_x = left + spacing * std::min(step, kSliderSteps - 1);
        p.setPen(QPen(colour::kField, 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(left, y), QPointF(right, y));
        p.setPen(QPen(accent, 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(left, y), QPointF(knob_x, y));
        for (int i = 0; i < kSliderSteps; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(colour::kTextOff);
            p.drawEllipse(QPointF(left + spacing * i, y + 8), 1.2, 1.2);
        }
        p.setPen(QPen(accent, 2));
        p.setBrush(colour::kWhite);
        p.drawEllipse(QPointF(knob_x, y), 7, 7);
    });
}

} // namespace

std::vector<NamedPicture> lighting_bitmaps(int scale) {
    std::vector<std::pair<std::string, Bitmap>> bitmaps{
        {"dengup.bmp", toggle(false)},         {"dengdown.bmp", toggle(true)},
        {"leftup.bmp", direction(180, false)}, {"leftdown.bmp", direction(180, true)},
        {"rightup.bmp", direction(0, false)},  {"rightdown.bmp", direction(0, true)},
        {"upup.bmp", direction(270, false)},   {"updown.bmp", direction(270, true)},
        {"downup.bmp", direction(90, false)},  {"downdown.bmp", direction(90, true)},
        {"kuosan.bmp", radial(true, false)},   {"kuosandown.bmp", radial(true, true)},
        {"julong.bmp", radial(false, false)},  {"julongdown.bmp", radial(false, true)},
        {"sjsup.bmp", random_box(false)},      {"sjsdown.bmp", random_box(true)},
        {"user1up.bmp", tool(false, false)},   {"user1down.bmp", tool(false, true)},
        {"user2up.bmp", tool(true, false)},    {"user2down.bmp", tool(true, true)},
    };
    const struct {
        const char* name;
        QColor fill;
    } choices[] = {{"hong", QColor(0xe8, 0x2c, 0x2c)},
                   {"huang", QColor(0xf5, 0xc5, 0x18)},
                   {"lv", QColor(0x2c, 0xc8, 0x4e)},
                   {"lan", QColor(0x2c, 0x6c, 0xf0)}};
    for (const auto& choice : choices) {
        bitmaps.emplace_back(std::string(choice.name) + ".bmp", swatch(choice.fill, false));
        bitmaps.emplace_back(std::string(choice.name) + "ok.bmp", swatch(choice.fill, true));
    }
    for (int frame = 0; frame < 10; ++frame) {
        bitmaps.emplace_back("jdt" + std::to_string(frame + 1) + ".bmp", busy_frame(frame));
    }
    // 0..4 brightness, 5..9 speed positions; the rest only show values the keyboard reports
    // beyond the panel's own range.
    for (int n = 0; n <= 25; ++n) {
        const bool speed = n >= kSliderSteps && n < 2 * kSliderSteps;
        const int step = n < 2 * kSliderSteps ? n % kSliderSteps : kSliderSteps;
        bitmaps.emplace_back(std::to_string(n) + ".bmp",
                             slider(step, speed ? colour::kLedOn : colour::kAccent));
    }
    std::vector<NamedPicture> pictures;
    for (const auto& [name, art] : bitmaps) {
        pictures.push_back({name, art.draw(scale)});
    }
    return pictures;
}

} // namespace tarvenor::skin
