#include "ui/logic/focus_texts.h"
#include "ui/logic/skin_keys.h"
#include "ui/profile/rule_add_dialog.h"
#include "ui/profile/rules_dialog.h"
#include "ui/skin/skin_label.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>
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
    std::optional<OwnText> focus_problem() const override { return problem; }
    std::string rules_problem() const override { return {}; }

    ProfileRules rules_;
    std::optional<OwnText> problem;
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

// Language 1 is English, any other Chinese.
LanguageFile shipped_language(int index) {
    IniFile ini = IniFile::read_or_empty(std::filesystem::path(TARVENOR_SKIN_DIR) / "language.ini");
    ini.set("LANGUAGE", "language", std::to_string(index));
    return LanguageFile(std::move(ini));
}

TEST_F(RulesPage, SaysWhyTheFocusCannotBeFollowedInTheChosenLanguage) {
    host_.problem = focus_text::kNoToplevelList;
    for (const int index : {0, 1}) {
        SCOPED_TRACE(index);
        const LanguageFile language = shipped_language(index);
        RulesDialog page(nullptr, TARVENOR_SKIN_DIR, language, host_);
        page.show_rules();
        const auto* status = page.findChild<QLabel*>("LABEL_STATUS");
        ASSERT_NE(status, nullptr);
        const std::string why = language.text(focus_text::kNoToplevelList);
        EXPECT_EQ(why == focus_text::kNoToplevelList.built_in, index == 1) << why;
        EXPECT_TRUE(status->text().contains(QString::fromStdString(why)))
            << status->text().toStdString();
        EXPECT_TRUE(status->text().contains("tarvenor-cli profile N"));
    }
}

TEST_F(RulesPage, AddAsksInItsOwnSkinnedDialogAndSavesWhatWasChosen) {
    // The page's own asker: the dialog that opens is answered as a user would.
    QTimer::singleShot(0, [] {
        auto* add = qobject_cast<RuleAddDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(add, nullptr);
        EXPECT_EQ(add->application_choice()->count(), 3); // steam_app_42, wine, Xedit
        add->application_choice()->setCurrentText(QStringLiteral("  steam_app_42 "));
        add->profile_choice()->setCurrentIndex(2);
        add->ok_button()->click();
    });
    dialog_->add_button()->click();
    ASSERT_EQ(host_.rules_.rules.size(), 3u);
    EXPECT_EQ(host_.rules_.rules[2], (ProfileRule{"steam_app_42", 2}));
}

// The Add dialog on the shipped language file with the language index of the parameter.
class RuleAdd : public ::testing::TestWithParam<int> {
protected:
    RuleAdd() : language_(shipped_language(GetParam())) {
        dialog_ = std::make_unique<RuleAddDialog>(nullptr, TARVENOR_SKIN_DIR, language_,
                                                  std::vector<std::string>{"code", "foot"});
    }

    LanguageFile language_;
    std::unique_ptr<RuleAddDialog> dialog_;
};

TEST_P(RuleAdd, IsDrawnFromItsSkinWithEveryTextWholeInTheChosenLanguage) {
    // Frameless and as large as its background, like every skinned dialog.
    EXPECT_TRUE(dialog_->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dialog_->size(),
              QImage(QString::fromLatin1(TARVENOR_SKIN_DIR) + "/rule_add_back.jpg").size());
    for (const skin_keys::LanguageLabel& place :
         {skin_keys::rule_add::kTitleLabel, skin_keys::rule_add::kPromptLabel,
          skin_keys::rule_add::kProfileLabel}) {
        SCOPED_TRACE(place.key);
        const auto* label = dialog_->findChild<SkinLabel*>(QString::fromLatin1(place.key));
        ASSERT_NE(label, nullptr);
        const QString expected = QString::fromStdString(language_.text(place.text));
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(label->text(), expected);
        EXPECT_TRUE(dialog_->rect().contains(label->geometry()));
    }
    for (ImageButton* button : {dialog_->ok_button(), dialog_->cancel_button()}) {
        EXPECT_FALSE(button->text().isEmpty());
        EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()), button->width());
    }
    EXPECT_EQ(dialog_->ok_button()->text(),
              QString::fromStdString(language_.text(focus_text::kOk)));
    EXPECT_EQ(dialog_->profile_choice()->itemText(2),
              QString::fromStdString(language_.text(focus_text::kProfileN)).arg(3));
}

TEST_P(RuleAdd, ATypedNameEndsWithEnterAndCancelGivesNothing) {
    EXPECT_EQ(dialog_->application_choice()->currentText(), QString()); // nothing chosen yet
    dialog_->show();
    QTest::keyClicks(dialog_->application_choice(), QStringLiteral("Witcher3.exe"));
    QTest::keyClick(dialog_->application_choice(), Qt::Key_Return);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(dialog_->application(), "Witcher3.exe");
    EXPECT_EQ(dialog_->profile(), 0);

    dialog_->show();
    dialog_->cancel_button()->click();
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, RuleAdd, ::testing::Values(0, 1));

} // namespace
} // namespace tarvenor
