#include "window_fixture.h"

#include "ui/logic/skin_keys.h"
#include "ui/main/link_opener.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

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

// The page's two parts, English and Chinese, split at the Chinese anchor.
std::pair<std::string, std::string> help_page_parts() {
    std::ifstream in(kHelpFile);
    const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t split = page.find(std::string("id=\"") + LinkOpener::kChineseAnchor + "\"");
    EXPECT_NE(split, std::string::npos);
    return {page.substr(0, split), page.substr(std::min(split, page.size()))};
}

// A caption as the window shows it: without its mnemonic ("&Open", "打开(&O)").
std::string shown(std::string caption) {
    if (const std::size_t open = caption.find("(&"); open != std::string::npos) {
        caption.erase(open, caption.find(')', open) + 1 - open);
    }
    std::erase(caption, '&');
    return caption;
}

TEST(HelpPage, NamesEveryCaptionAsTheProgramShowsItInEachLanguage) {
    const auto [english_part, chinese_part] = help_page_parts();
    const IniFile skin =
        IniFile::read_or_empty(std::filesystem::path(TARVENOR_SKIN_DIR) / "Main.ini");
    const char* language_keys[] = {"SINGLE_KEY",
                                   "MACRO_SETTING",
                                   "MULTI_MEDIA",
                                   "FUNCTION_KEY",
                                   "A_RECORD",
                                   "MACRO_ACTION_STOP_RECORD",
                                   "A_TOP",
                                   "A_UP",
                                   "A_DOWN",
                                   "A_BOTTOM",
                                   "A_DELETE",
                                   "A_CLEAR",
                                   "RECORD_DELAY",
                                   "MACRO_CYCLES",
                                   "MACRO_NAME_SETTING",
                                   "PROFILE_1",
                                   "PROFILE_2",
                                   "PROFILE_3",
                                   "PROFILE_DEFAULT",
                                   "PROFILE_MACRO",
                                   "PROFILE_OK",
                                   "PROFILE_CANCLE",
                                   "PROFILE_APPLY",
                                   "MENU_1",
                                   "MENU_2",
                                   "MENU_3",
                                   "MENU_11",
                                   "MENU_22",
                                   "MENU_33",
                                   "PROFILE_COLUMN_ACTIVE",
                                   "PROFILE_COLUMN_NAME",
                                   "PROFILE_COLUMN_PATH",
                                   "FOLLOW_MENU_RULES",
                                   "FOLLOW_MENU_PAUSE",
                                   "FOLLOW_ENABLED",
                                   "FOLLOW_OTHER",
                                   "FOLLOW_KEEP",
                                   "FOLLOW_ADD",
                                   "FOLLOW_REMOVE"};
    const char* panel_labels[] = {"Usb",   "Deng",   "Light", "FX",  "Speed",
                                  "Color", "JColor", "DC",    "Tool"};
    for (const auto& [index, part] : {std::pair{"1", english_part}, std::pair{"0", chinese_part}}) {
        const LanguageFile language = language_with_index(index);
        std::vector<std::string> captions;
        for (const char* key : language_keys) {
            captions.push_back(shown(language.text(key)));
        }
        for (std::size_t i = 0; i < kMediaTextCount; ++i) {
            captions.push_back(TextTable(language).text(media_text_key(i)));
        }
        for (std::size_t i = 0; i < kFunctionTextCount; ++i) {
            captions.push_back(TextTable(language).text(function_text_key(i)));
        }
        const int skin_set = language.is_english() ? 1 : 0;
        for (const char* label : panel_labels) {
            captions.push_back(skin.get(skin_keys::kControlNames[skin_set], label));
        }
        for (int effect = 1; effect <= 20; ++effect) {
            if (effect != 19) {
                captions.push_back(
                    skin.get(skin_keys::kEffectNames[skin_set], std::to_string(effect)));
            }
        }
        for (const std::string& caption : captions) {
            EXPECT_FALSE(caption.empty());
            EXPECT_NE(part.find(caption), std::string::npos)
                << "the help's part for language " << index << " lacks \"" << caption << "\"";
        }
    }
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
