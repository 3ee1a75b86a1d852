#pragma once

#include "model/configuration.h"
#include "model/text_table.h"
#include "ui/main/main_window.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tarvenor::testing {

// The real main window on the generated skin, its messages, links and assignment requests
// collected instead of shown. Links go to a stand-in desktop that opens them while
// `desktop_opens` is set.
class WindowTest : public ::testing::Test {
protected:
    WindowTest()
        : language(LanguageFile::load(std::filesystem::path(TARVENOR_SKIN_DIR) / "language.ini")),
          texts(language) {
        configuration.make_default_image();
    }

    void SetUp() override {
        window = std::make_unique<MainWindow>(
            TARVENOR_SKIN_DIR,
            MainWindowServices{language, texts, configuration, TARVENOR_HELP_FILE, tray});
        window->set_message_handler([this](const QString& text) { messages << text; });
        window->set_url_opener([this](const QUrl& url) {
            opened << url.toString();
            return desktop_opens;
        });
        window->set_assign_handler(
            [this](const KeyClickRequest& request) { requests.push_back(request); });
    }

    // Set before SetUp: whether the desktop has a notification area.
    bool tray = true;
    LanguageFile language;
    TextTable texts;
    Configuration configuration;
    std::unique_ptr<MainWindow> window;
    QStringList messages;
    QStringList opened;
    bool desktop_opens = true;
    std::vector<KeyClickRequest> requests;
};

} // namespace tarvenor::testing
