#include "ui/skin/dark_look.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace tarvenor {
namespace {

const QColor kWindow(0x1c, 0x1f, 0x26);
const QColor kField(0x11, 0x13, 0x17);
const QColor kButton(0x2a, 0x2e, 0x37);
const QColor kText(0xe4, 0xe7, 0xec);
const QColor kTextOff(0x6b, 0x71, 0x7c);
const QColor kAccent(0x2c, 0xc7, 0xff);
const QColor kAccentDeep(0x0c, 0x5d, 0x7c);

} // namespace

QPalette dark_palette() {
    QPalette palette(kButton, kWindow);
    palette.setColor(QPalette::WindowText, kText);
    palette.setColor(QPalette::Base, kField);
    palette.setColor(QPalette::AlternateBase, kWindow);
    palette.setColor(QPalette::Text, kText);
    palette.setColor(QPalette::ButtonText, kText);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, kTextOff);
    palette.setColor(QPalette::ToolTipBase, kField);
    palette.setColor(QPalette::ToolTipText, kText);
    palette.setColor(QPalette::Highlight, kAccentDeep);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, kAccent);
    palette.setColor(QPalette::LinkVisited, kAccent.darker(130));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, kTextOff);
    }
    palette.setColor(QPalette::Disabled, QPalette::Button, kWindow);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, kButton);
    return palette;
}

void apply_dark_look(const QIcon& icon, const QString& name) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
    QApplication::setPalette(dark_palette());
    QApplication::setWindowIcon(icon);
    QApplication::setApplicationDisplayName(name);
}

} // namespace tarvenor
