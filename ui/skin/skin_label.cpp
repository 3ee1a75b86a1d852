#include "ui/skin/skin_label.h"

#include "ui/skin/placement.h"

#include <QFontMetrics>

namespace tarvenor {

namespace {

constexpr int kSmallestPixels = 7;
const QColor kBright(0xe4, 0xe7, 0xec);
const QColor kDim(0x8a, 0x91, 0x9c);

} // namespace

SkinLabel::SkinLabel(QWidget& dialog, const IniFile& skin, const skin_keys::LanguageLabel& label)
    : QLabel(&dialog), pixels_(label.pixels) {
    setObjectName(QString::fromLatin1(label.key));
    place_control(*this, skin, skin_keys::kControls, label.key);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setAlignment((label.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, label.dim ? kDim : kBright);
    setPalette(colours);
}

void SkinLabel::show_text(const QString& text) {
    QFont fitted = font();
    fitted.setBold(true);
    for (int pixels = pixels_; pixels >= kSmallestPixels; --pixels) {
        fitted.setPixelSize(pixels);
        if (QFontMetrics(fitted).horizontalAdvance(text) <= width()) {
            break;
        }
    }
    setFont(fitted);
    setText(text);
}

} // namespace tarvenor
