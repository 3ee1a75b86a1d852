#include "app/focus_follower.h"
#include "model/profile_rules_file.h"
#include "ui/profile/rules_dialog.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <fstream>

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

// The rules page open in the program while something else (the command line, an editor)
// changes the rules file.
class RulesPageRefresh : public ::testing::Test {
protected:
    RulesPageRefresh()
        : file_(std::filesystem::path(folder_.path().toStdString()) / "rules" /
                "profile-rules.ini"),
          language_(LanguageFile::load(std::filesystem::path(TARVENOR_SKIN_DIR) / "language.ini")),
          follower_(FocusSource{}, file_,
                    {[] { return false; },
                     [](int profile, std::function<void(int)> ended) { ended(profile); }}),
          page_(nullptr, TARVENOR_SKIN_DIR, language_, follower_) {
        follower_.start();
        keep_page_current(page_, follower_);
        page_.show_rules();
        page_.show();
    }

    int rows() const { return page_.list_view()->topLevelItemCount(); }
    QString row(int r) const { return page_.list_view()->topLevelItem(r)->text(0); }
    QString status() const { return page_.findChild<QLabel*>("LABEL_STATUS")->text(); }

    // As an editor saves: a new file renamed over the old one.
    void write_by_hand(const std::string& text) {
        const std::filesystem::path temporary = file_.string() + ".new";
        std::ofstream(temporary) << text;
        std::filesystem::rename(temporary, file_);
    }

    QTemporaryDir folder_;
    std::filesystem::path file_;
    LanguageFile language_;
    FocusFollower follower_;
    RulesDialog page_;
};

TEST_F(RulesPageRefresh, RulesAddedOutsideShowInTheOpenPage) {
    ASSERT_EQ(rows(), 0);
    ProfileRules rules;
    rules.set("steam_app_42", 1);
    // What "tarvenor-cli rules add steam_app_42 2" does.
    ASSERT_TRUE(save_profile_rules(file_, rules));
    ASSERT_TRUE(QTest::qWaitFor([this] { return rows() == 1; }, 5000));
    EXPECT_EQ(row(0), "steam_app_42");

    write_by_hand("[settings]\ndefault = keep\n[rules]\nsteam_app_42 = 2\ncode = 3\n");
    ASSERT_TRUE(QTest::qWaitFor([this] { return rows() == 2; }, 5000));
    EXPECT_EQ(row(1), "code");
    EXPECT_EQ(page_.default_choice()->currentIndex(), 0); // "leave the profile as it is"
}

TEST_F(RulesPageRefresh, ADamagedFileIsToldOnThePageAndTheRowsStayUntilItIsMended) {
    write_by_hand("[rules]\ncode = 3\n");
    ASSERT_TRUE(QTest::qWaitFor([this] { return rows() == 1; }, 5000));
    write_by_hand("[rules]\ncode = 3\nalpha = 7\n");
    ASSERT_TRUE(QTest::qWaitFor([this] { return status().contains("line 3"); }, 5000));
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(row(0), "code");

    write_by_hand("[rules]\nalpha = 2\n");
    ASSERT_TRUE(QTest::qWaitFor([this] { return row(0) == "alpha"; }, 5000));
    EXPECT_FALSE(status().contains("line 3"));
}

} // namespace
} // namespace tarvenor
