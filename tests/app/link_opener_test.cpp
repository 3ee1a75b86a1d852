#include "window_fixture.h"

#include "ui/main/link_opener.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <fstream>
#include <iterator>
#include <string>

namespace tarvenor::testing {
namespace {

const std::filesystem::path kHelpFile = TARVENOR_HELP_FILE;

QString native(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

// The messages about what could not be opened, shown over `asker`.
QList<QMessageBox*> open_failures(const QWidget& asker) {
    return asker.findChildren<QMessageBox*>(QStringLiteral("open_failed"),
                                            Qt::FindDirectChildrenOnly);
}

void close_all(const QList<QMessageBox*>& boxes) {
    for (QMessageBox* box : boxes) {
        box->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The shipped language file with its language index set to `index`.
LanguageFile language_with_index(const char* index) {
    std::optional<IniFile> ini =
        IniFile::read(std::filesystem::path(TARVENOR_SKIN_DIR) / "language.ini");
    EXPECT_TRUE(ini.has_value());
    ini->set("LANGUAGE", "language", index);
    return LanguageFile(*ini);
}

QString own(const LanguageFile& language, const OwnText& text) {
    return QString::fromStdString(language.text(text));
}

TEST_F(WindowTest, WhatTheDesktopCannotOpenIsToldOverTheWindowWithTheFileOrAddress) {
    window->show();
    desktop_opens = false;
    const QString skin_link = QString::fromStdString(window->skin().get("SCREEN", "Link"));
    const QString help_text = own(language, link_text::kHelpNotOpened).arg(native(kHelpFile));
    const QString link_text = own(language, link_text::kAddressNotOpened);
    const std::pair<std::function<void()>, QString> cases[] = {
        {[this] { QTest::mouseClick(window->button(MainControl::Help), Qt::LeftButton); },
         help_text},
        {[this] { QTest::keyClick(window.get(), Qt::Key_F1); }, help_text},
        {[this] { QTest::mouseClick(window->button(MainControl::SkinLink), Qt::LeftButton); },
         link_text.arg(skin_link)},
        {[this] { QTest::mouseClick(window->button(MainControl::VendorLink), Qt::LeftButton); },
         link_text.arg(MainWindow::kVendorAddress)},
    };
    for (const auto& [act, expected] : cases) {
        SCOPED_TRACE(expected.toStdString());
        act();
        const QList<QMessageBox*> boxes = open_failures(*window);
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0]->text(), expected);
        EXPECT_TRUE(boxes[0]->isVisible());
        close_all(boxes);
    }
    // The desktop was asked every time; the window's own message channel was not used.
    EXPECT_EQ(opened.size(), 4);
    EXPECT_TRUE(messages.isEmpty());
    // The language file's texts name what to open by hand.
    EXPECT_TRUE(help_text.contains(native(kHelpFile))) << help_text.toStdString();
    EXPECT_TRUE(link_text.arg(skin_link).contains(skin_link));
}

TEST_F(WindowTest, AHelpFileThatIsNotThereIsToldWithItsPathAndNeverHandedToTheDesktop) {
    for (const std::filesystem::path& help :
         {kHelpFile.parent_path() / "gone" / "index.html", kHelpFile.parent_path()}) {
        SCOPED_TRACE(help.string());
        MainWindow other(TARVENOR_SKIN_DIR,
                         MainWindowServices{language, texts, configuration, help, true});
        QStringList asked;
        other.set_url_opener([&asked](const QUrl& url) {
            asked << url.toString();
            return true;
        });
        other.show();
        QTest::keyClick(&other, Qt::Key_F1);
        EXPECT_TRUE(asked.isEmpty());
        const QList<QMessageBox*> boxes = open_failures(other);
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0]->text(), own(language, link_text::kHelpMissing).arg(native(help)));
    }
}

TEST_F(WindowTest, TheAboutBoxLinkGoesThroughTheSameOpener) {
    window->show_about();
    QDialog* about = window->findChild<QDialog*>(QStringLiteral("about"));
    ASSERT_NE(about, nullptr);
    QLabel* link = about->findChild<QLabel*>(QStringLiteral("link"));
    ASSERT_NE(link, nullptr);
    EXPECT_FALSE(link->openExternalLinks());
    const QString address = QString::fromStdString(window->skin().get("SCREEN", "Link"));
    emit link->linkActivated(address);
    EXPECT_EQ(opened, QStringList{address});
    EXPECT_TRUE(open_failures(*about).isEmpty());

    desktop_opens = false;
    emit link->linkActivated(address);
    const QList<QMessageBox*> boxes = open_failures(*about);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->text(), own(language, link_text::kAddressNotOpened).arg(address));
    EXPECT_TRUE(open_failures(*window).isEmpty());
}

TEST(HelpPage, OpensAtThePartOfTheChosenLanguageWhichThePageHas) {
    // 1 is English; every other index gives Chinese texts, and so the Chinese part.
    const std::pair<const char*, QString> cases[] = {
        {"1", QString()}, {"0", "zh"}, {"2", "zh"}, {"x", "zh"}};
    for (const auto& [index, anchor] : cases) {
        SCOPED_TRACE(index);
        const LanguageFile chosen = language_with_index(index);
        LinkOpener links(chosen, kHelpFile);
        QList<QUrl> asked;
        links.set_opener([&asked](const QUrl& url) {
            asked << url;
            return true;
        });
        QWidget asker;
        links.open_help(&asker);
        ASSERT_EQ(asked.size(), 1);
        EXPECT_EQ(asked[0].toLocalFile(), QString::fromStdString(kHelpFile.string()));
        EXPECT_EQ(asked[0].fragment(), anchor);
    }
    std::ifstream in(kHelpFile);
    const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(page.find(std::string("id=\"") + LinkOpener::kChineseAnchor + "\""),
              std::string::npos);
}

TEST(HelpPage, AFailureIsToldInTheChosenLanguage) {
    const LanguageFile chinese = language_with_index("0");
    const LanguageFile english = language_with_index("1");
    LinkOpener links(chinese, kHelpFile);
    links.set_opener([](const QUrl&) { return false; });
    QWidget asker;
    const QString address = QStringLiteral("https://tarvenor.example/drivers");
    links.open_address(&asker, address);
    const QList<QMessageBox*> boxes = open_failures(asker);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->text(), own(chinese, link_text::kAddressNotOpened).arg(address));
    EXPECT_NE(own(chinese, link_text::kAddressNotOpened),
              own(english, link_text::kAddressNotOpened));
    EXPECT_TRUE(boxes[0]->text().contains(address));
}

} // namespace
} // namespace tarvenor::testing
