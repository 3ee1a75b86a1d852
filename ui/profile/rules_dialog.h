#pragma once

#include "model/text_table.h"
#include "ui/logic/rules_page.h"
#include "ui/skin/image_button.h"
#include "ui/skin/skinned_dialog.h"

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QTreeWidget;

namespace tarvenor {

// The rules by which the keyboard's profile follows the application in front: one row per
// application with its profile, Add and Remove, the profile for other applications and the
// switch that turns it all off. Every change is saved at once.
class RulesDialog : public SkinnedDialog {
    Q_OBJECT
public:
    // A name and a profile (0..2) for a new rule; false when cancelled.
    using RuleAsker = std::function<bool(const std::vector<std::string>& running,
                                         std::string& application, int& profile)>;
    using MessageHandler = std::function<void(const QString&)>;

    // Throws SkinError naming the skin file or picture that is missing.
    RulesDialog(QWidget* parent, const std::filesystem::path& skin_folder,
                const LanguageFile& language, RulesPageHost& host);

    void set_rule_asker(RuleAsker asker) { ask_rule_ = std::move(asker); }
    void set_message_handler(MessageHandler handler) { message_ = std::move(handler); }

    // Shows the rules in force now and runs modally.
    int exec() override;
    // The rows, the default and the switch from the rules in force.
    void show_rules();

    QTreeWidget* list_view() const { return view_; }
    QComboBox* default_choice() const { return default_; }
    QCheckBox* enabled_switch() const { return enabled_; }
    ImageButton* add_button() const { return add_; }
    ImageButton* remove_button() const { return remove_; }

private:
    QString text(const OwnText& own) const;
    ImageButton* make_button(const char* key, const OwnText& caption);
    QComboBox* profile_choice(bool with_keep);
    void show_status();
    void save(const ProfileRules& rules);
    void add_rule();
    void remove_rule();
    void set_rule_profile(const std::string& application, int profile);
    void set_default(int index);
    void set_enabled(bool enabled);

    const LanguageFile& language_;
    RulesPageHost& host_;
    QCheckBox* enabled_ = nullptr;
    QTreeWidget* view_ = nullptr;
    QComboBox* default_ = nullptr;
    QLabel* status_ = nullptr;
    ImageButton* add_ = nullptr;
    ImageButton* remove_ = nullptr;
    RuleAsker ask_rule_;
    MessageHandler message_;
    bool showing_ = false;
};

} // namespace tarvenor
