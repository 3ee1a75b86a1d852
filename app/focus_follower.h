#pragma once

#include "app/focus_watcher.h"
#include "model/profile_rules_file.h"
#include "ui/logic/focus_follow.h"
#include "ui/logic/rules_page.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace tarvenor {

// Drives the keyboard's profile from the application in front: the desktop's focus news and
// the rules file go into the policy, which says when to switch; its one timer is single-shot,
// armed only while a switch waits for the focus to rest or for the minimum interval.
class FocusFollower final : public QObject, public RulesPageHost {
    Q_OBJECT
public:
    struct Hooks {
        // Whether a switch must wait (dialog open, keyboard busy, changes not applied).
        std::function<bool()> waits;
        // Carries out a switch; the callback gets the keyboard's active profile afterwards.
        std::function<void(int profile, std::function<void(int)> ended)> switch_to;
    };

    FocusFollower(FocusSource source, std::filesystem::path rules_file, Hooks hooks);

    // Reads the rules, watches their file and starts following the focus.
    void start();

    // News from the window.
    void chosen_by_hand(int profile);
    void keyboard_profile(int profile);
    // Something that made a switch wait has passed.
    void try_again();

    void set_paused(bool paused);
    // RulesPageHost: rules edited in the window are saved and take effect at once.
    const ProfileRules& rules() const override { return policy_.rules(); }
    FileWriteResult save_rules(const ProfileRules& rules) override;
    std::vector<FocusedWindow> running_windows() const override;
    std::string focus_source() const override { return source_.name; }
    std::optional<OwnText> focus_problem() const override { return source_.problem; }
    std::string rules_problem() const override { return rules_problem_; }

    const FocusFollowPolicy& policy() const { return policy_; }
    const FocusSource& source() const { return source_; }
    bool available() const { return source_.watcher != nullptr; }
    const std::filesystem::path& rules_file() const { return rules_file_; }

signals:
    void state_changed();
    // The rules in force or the rules file's problem changed (by the page, the command line or
    // an editor).
    void rules_changed();
    // The rules file was changed into one that cannot be used: what is wrong with it.
    void rules_damaged(const QString& problem);

private:
    void on_focus(const FocusedWindow& window);
    void reload_rules();
    void watch_rules_file();
    void decide();
    static FocusFollowPolicy::Time now();

    FocusSource source_;
    std::filesystem::path rules_file_;
    Hooks hooks_;
    FocusFollowPolicy policy_;
    QTimer wake_;
    QFileSystemWatcher file_watch_;
    // While the rules file cannot be used; the last good rules stay in force meanwhile.
    std::string rules_problem_;
};

class RulesDialog;

// Keeps the rules page showing the rules in force while it is open, whoever changes the file.
void keep_page_current(RulesDialog& page, FocusFollower& follower);

} // namespace tarvenor
