#include "ui/profile/rules_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

// The rules in memory; a save can be made to fail.
class FakeRulesHost final : public RulesPageHost {
public:
    const ProfileRules& rules() const override { return rules_; }
    FileWriteResult save_rules(const ProfileRules& rules) override {
        ++saves;
        if (!saving) {
            return {FileWriteResult::Failure::ReadOnly, {}};
        }
        rules_ = rules;
        return {};
    }
    std::vector<FocusedWindow> running_windows() const override {
        return {{"xedit", "Xedit", "", "xedit"}, {"steam_app_42", "steam_app_42", "", "wine"}};
    }
    std::string focus_source() const override { return "X11"; }
    std::string focus_problem() const override { return problem; }
    std::string rules_problem() const override { return {}; }

    ProfileRules rules_;
    std::string problem;
    bool saving = true;
    int saves = 0;
};

class RulesPage : public ::testing::Test {
protected:
    RulesPage()
        : language_(LanguageFile::load(std::filesystem::path(TARVENOR_SKIN_DIR) / "language.ini")) {
        host_.rules_.rules = {{"xcalc", 1}, {"code", 2}};
        host_.rules_.default_profile = 0;
        dialog_ = std::make_unique<RulesDialog>(nullptr, TARVENOR_SKIN_DIR, language_, host_);
        dialog_->set_message_handler([this](const QString& text) { messages_ << text; });
        dialog_->show_rules();
    }

    QString row(int r) const { return dialog_->list_view()->topLevelItem(r)->text(0); }

    LanguageFile language_;
    FakeRulesHost host_;
    std::unique_ptr<RulesDialog> dialog_;
    QStringList messages_;
};

TEST_F(RulesPage, ShowsTheRulesTheDefaultAndTheSwitch) {
    ASSERT_EQ(dialog_->list_view()->topLevelItemCount(), 2);
    EXPECT_EQ(row(0), "xcalc");
    const auto* choice = qobject_cast<QComboBox*>(
        dialog_->list_view()->itemWidget(dialog_->list_view()->topLevelItem(1), 1));
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->currentIndex(), 2);
    EXPECT_EQ(dialog_->default_choice()->currentIndex(), 1); // profile 1, after "keep"
    EXPECT_TRUE(dialog_->enabled_switch()->isChecked());
    EXPECT_EQ(host_.saves, 0); // showing saves nothing
}

TEST_F(RulesPage, AddOffersTheRunningApplicationsAndSavesTheRule) {
    std::vector<std::string> offered;
    dialog_->set_rule_asker([&offered](const std::vector<std::string>& running,
                                       std::string& application, int& profile) {
        offered = running;
        application = "steam_app_42";
        profile = 1;
        return true;
    });
    dialog_->add_button()->click();
    EXPECT_EQ(offered, (std::vector<std::string>{"steam_app_42", "wine", "Xedit"}));
    ASSERT_EQ(host_.rules_.rules.size(), 3u);
    EXPECT_EQ(host_.rules_.rules[2], (ProfileRule{"steam_app_42", 1}));
    EXPECT_EQ(dialog_->list_view()->topLevelItemCount(), 3);
}

TEST_F(RulesPage, ANameThatCannotBeWrittenIsToldAndNotSaved) {
    dialog_->set_rule_asker(
        [](const std::vector<std::string>&, std::string& application, int& profile) {
            application = "a=b";
            profile = 0;
            return true;
        });
    dialog_->add_button()->click();
    EXPECT_EQ(host_.saves, 0);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains("a=b"));
}

TEST_F(RulesPage, RemoveDefaultAndSwitchAreSavedAtOnce) {
    dialog_->list_view()->setCurrentItem(dialog_->list_view()->topLevelItem(0));
    dialog_->remove_button()->click();
    ASSERT_EQ(host_.rules_.rules.size(), 1u);
    EXPECT_EQ(host_.rules_.rules[0].application, "code");

    emit dialog_->default_choice()->activated(0);
    EXPECT_FALSE(host_.rules_.default_profile);
    emit dialog_->default_choice()->activated(3);
    EXPECT_EQ(host_.rules_.default_profile, 2);

    dialog_->enabled_switch()->setChecked(false);
    EXPECT_FALSE(host_.rules_.enabled);
}

TEST_F(RulesPage, AFailedSaveIsToldAndTheRowsShowWhatIsInForce) {
    host_.saving = false;
    dialog_->list_view()->setCurrentItem(dialog_->list_view()->topLevelItem(0));
    dialog_->remove_button()->click();
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(dialog_->list_view()->topLevelItemCount(), 2);
}

TEST_F(RulesPage, SaysWhyTheFocusCannotBeFollowed) {
    host_.problem = "no window manager";
    dialog_->show_rules();
    const auto* status = dialog_->findChild<QLabel*>("LABEL_STATUS");
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().contains("no window manager")) << status->text().toStdString();
    EXPECT_TRUE(status->text().contains("tarvenor-cli profile N"));
}

} // namespace
} // namespace tarvenor
