#include "ui/skin/dark_look.h"

#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <cmath>

namespace tarvenor {
namespace {

double luminance(const QColor& colour) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

// How well text of one colour reads on the other: 1 (none) to 21 (black on white).
double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The look is the whole application's: the test puts the previous one back.
class DarkLookTest : public ::testing::Test {
protected:
    DarkLookTest()
        : style_(QApplication::style()->name()), palette_(QApplication::palette()),
          name_(QApplication::applicationDisplayName()), icon_(QApplication::windowIcon()) {}
    ~DarkLookTest() override {
        QApplication::setStyle(QStyleFactory::create(style_));
        QApplication::setPalette(palette_);
        QApplication::setApplicationDisplayName(name_);
        QApplication::setWindowIcon(icon_);
    }

private:
    QString style_;
    QPalette palette_;
    QString name_;
    QIcon icon_;
};

TEST_F(DarkLookTest, MessageBoxesAreDarkReadableTitledAndMarked) {
    QPixmap mark(32, 32);
    mark.fill(Qt::cyan);
    apply_dark_look(QIcon(mark), QStringLiteral("Keyboard Settings"));
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("Keyboard Settings"))
        << "the title of every window without one of its own";

    QMessageBox box(QMessageBox::Information, QString(), QStringLiteral("text"), QMessageBox::Ok);
    const QPalette shown = box.palette();
    EXPECT_LT(luminance(shown.color(QPalette::Window)), 0.05) << "a dark box on the dark skin";
    EXPECT_GE(contrast(shown.color(QPalette::WindowText), shown.color(QPalette::Window)), 7.0);
    EXPECT_GE(contrast(shown.color(QPalette::ButtonText), shown.color(QPalette::Button)), 7.0);
    EXPECT_GE(contrast(shown.color(QPalette::Text), shown.color(QPalette::Base)), 7.0)
        << "fields of the file and colour dialogs";
    EXPECT_FALSE(box.windowIcon().isNull());
    EXPECT_FALSE(box.iconPixmap().isNull());

    // Disabled texts stay readable but clearly apart from enabled ones.
    const QColor enabled = shown.color(QPalette::Active, QPalette::ButtonText);
    const QColor disabled = shown.color(QPalette::Disabled, QPalette::ButtonText);
    EXPECT_GE(contrast(enabled, disabled), 2.5);
    EXPECT_GE(contrast(disabled, shown.color(QPalette::Disabled, QPalette::Button)), 2.0);
}

} // namespace
} // namespace tarvenor
