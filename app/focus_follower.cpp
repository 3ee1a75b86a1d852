#include "app/focus_follower.h"

#include "ui/profile/rules_dialog.h"

#include <algorithm>
#include <cstdio>

namespace tarvenor {

FocusFollower::FocusFollower(FocusSource source, std::filesystem::path rules_file, Hooks hooks)
    : source_(std::move(source)), rules_file_(std::move(rules_file)), hooks_(std::move(hooks)) {
    wake_.setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, &FocusFollower::decide);
    // The file is replaced by a rename when saved, by us or an editor: its folder tells of that.
    connect(&file_watch_, &QFileSystemWatcher::directoryChanged, this,
            &FocusFollower::reload_rules);
    connect(&file_watch_, &QFileSystemWatcher::fileChanged, this, &FocusFollower::reload_rules);
}

FocusFollowPolicy::Time FocusFollower::now() {
    return std::chrono::steady_clock::now();
}

void FocusFollower::start() {
    reload_rules();
    watch_rules_file();
    if (source_.watcher) {
        source_.watcher->start([this](const FocusedWindow& window) { on_focus(window); });
    }
}

void FocusFollower::watch_rules_file() {
    std::error_code error;
    std::filesystem::create_directories(rules_file_.parent_path(), error);
    const QString folder = QString::fromStdString(rules_file_.parent_path().string());
    const QString file = QString::fromStdString(rules_file_.string());
    if (!file_watch_.directories().contains(folder)) {
        file_watch_.addPath(folder);
    }
    if (std::filesystem::exists(rules_file_, error) && !file_watch_.files().contains(file)) {
        file_watch_.addPath(file);
    }
}

void FocusFollower::reload_rules() {
    watch_rules_file();
    RulesLoad load = load_profile_rules(rules_file_);
    if (!load.usable()) {
        if (load.problem != rules_problem_) {
            rules_problem_ = load.problem;
            std::fprintf(stderr, "tarvenor: %s\n", rules_problem_.c_str());
            emit rules_damaged(QString::fromStdString(rules_problem_));
            emit rules_changed();
        }
        return;
    }
    bool changed = !rules_problem_.empty();
    rules_problem_.clear();
    if (load.rules != policy_.rules()) {
        policy_.set_rules(load.rules, now());
        changed = true;
        decide();
    }
    emit state_changed();
    if (changed) {
        emit rules_changed();
    }
}

FileWriteResult FocusFollower::save_rules(const ProfileRules& rules) {
    const FileWriteResult saved = save_profile_rules(rules_file_, rules);
    if (saved) {
        reload_rules();
    }
    return saved;
}

void FocusFollower::on_focus(const FocusedWindow& window) {
    policy_.focus_changed(window, now());
    decide();
    emit state_changed();
}

void FocusFollower::chosen_by_hand(int profile) {
    policy_.chosen_by_hand(profile);
    wake_.stop();
    emit state_changed();
}

void FocusFollower::keyboard_profile(int profile) {
    policy_.keyboard_profile(profile);
    emit state_changed();
}

void FocusFollower::try_again() {
    decide();
}

void FocusFollower::set_paused(bool paused) {
    policy_.set_paused(paused, now());
    decide();
    emit state_changed();
}

void FocusFollower::decide() {
    const FocusFollowPolicy::Time time = now();
    const FocusFollowPolicy::Step step = policy_.next(time, hooks_.waits());
    if (step.switch_to) {
        wake_.stop();
        hooks_.switch_to(*step.switch_to, [this](int profile) {
            policy_.switch_ended(profile);
            emit state_changed();
            decide();
        });
        return;
    }
    if (step.wake_at) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*step.wake_at - time);
        wake_.start(std::max(wait, std::chrono::milliseconds(0)));
    } else {
        wake_.stop();
    }
}

std::vector<FocusedWindow> FocusFollower::running_windows() const {
    return source_.watcher ? source_.watcher->windows() : std::vector<FocusedWindow>{};
}

void keep_page_current(RulesDialog& page, FocusFollower& follower) {
    QObject::connect(&follower, &FocusFollower::rules_changed, &page, [&page] {
        if (page.isVisible()) {
            page.show_rules();
        }
    });
}

} // namespace tarvenor
