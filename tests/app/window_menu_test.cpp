#include "profile_panel_window.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace tarvenor::testing {
namespace {

// The ≡ caption button's menu, reached with the mouse and from the keyboard.
class WindowMenu : public ProfilePanelWindow {
protected:
    QWidget* menu_button() const { return window->button(MainControl::Menu); }

    // Once the menu is up: its item texts and place, then the keys that choose in it.
    void when_menu_shows(std::vector<Qt::Key> keys) {
        QTimer::singleShot(0, [this, keys = std::move(keys)] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                when_menu_shows(keys);
                return;
            }
            for (const QAction* action : menu->actions()) {
                items << action->text();
            }
            menu_place = menu->geometry();
            for (const Qt::Key key : keys) {
                QTest::keyClick(menu, key);
            }
        });
    }

    // Where a menu asked to open at `x` lands: moved left only as far as the screen needs.
    int fitted_left(int x) const {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        return std::min(x, screen.right() + 1 - menu_place.width());
    }

    QStringList items;
    QRect menu_place;
};

TEST_F(WindowMenu, ClickedItOpensAtThePointerAndItsLastItemIsAbout) {
    const QPoint centre = menu_button()->mapToGlobal(menu_button()->rect().center());
    QCursor::setPos(centre);
    when_menu_shows({Qt::Key_Up, Qt::Key_Return});
    QTest::mouseClick(menu_button(), Qt::LeftButton);
    EXPECT_EQ(items, (QStringList{"Import...", "Export...", "About"}));
    EXPECT_EQ(menu_place.top(), centre.y());
    EXPECT_EQ(menu_place.left(), fitted_left(centre.x()));
    EXPECT_TRUE(window->about_open());
}

TEST_F(WindowMenu, FromTheKeyboardItOpensUnderTheButtonWhereverThePointerIs) {
    QCursor::setPos(0, 0);
    menu_button()->setFocus();
    when_menu_shows({Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
    QTest::keyClick(menu_button(), Qt::Key_Space);
    ASSERT_EQ(items.size(), 3);
    const QRect button(menu_button()->mapToGlobal(QPoint(0, 0)), menu_button()->size());
    EXPECT_EQ(menu_place.left(), fitted_left(button.left()));
    EXPECT_EQ(menu_place.top(), button.bottom() + 1);
    EXPECT_TRUE(window->about_open());
}

TEST_F(WindowMenu, EscapeClosesItWithoutAChoice) {
    menu_button()->setFocus();
    when_menu_shows({Qt::Key_Escape});
    QTest::keyClick(menu_button(), Qt::Key_Space);
    EXPECT_EQ(items.size(), 3);
    EXPECT_FALSE(window->about_open());
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
} // namespace tarvenor::testing
