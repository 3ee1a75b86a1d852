#include "app/follow_tray_items.h"

#include "ui/logic/focus_texts.h"
#include "ui/skin/qt_text.h"

namespace tarvenor {
FollowTrayItems::FollowTrayItems(QMenu& menu, std::filesystem::path language_file,
                                 FocusFollower& follower)
    : QObject(&menu), language_file_(std::move(language_file)), follower_(follower) {
    // Before Exit, which stays the last item.
    QAction* last = menu.actions().isEmpty() ? nullptr : menu.actions().last();
    pause_ = new QAction(&menu);
    pause_->setCheckable(true);
    rules_ = new QAction(&menu);
    menu.insertAction(last, rules_);
    menu.insertAction(last, pause_);
    menu.insertSeparator(last);
    connect(pause_, &QAction::toggled, &follower_, &FocusFollower::set_paused);
    connect(rules_, &QAction::triggered, this, &FollowTrayItems::rules_requested);
    connect(&menu, &QMenu::aboutToShow, this, &FollowTrayItems::fill);
    fill();
}

void FollowTrayItems::fill() {
    const LanguageFile language = LanguageFile::load(language_file_);
    rules_->setText(text_of(language, focus_text::kMenuRules));
    pause_->setText(text_of(language, focus_text::kMenuPause));
    const QSignalBlocker quiet(pause_);
    pause_->setChecked(follower_.policy().paused());
    pause_->setEnabled(follower_.available() && follower_.policy().rules().enabled);
}

QString FollowTrayItems::tooltip(const QString& connection_text) const {
    using Why = FocusFollowPolicy::State::Why;
    const LanguageFile language = LanguageFile::load(language_file_);
    const FocusFollowPolicy::State state = follower_.policy().state();
    const QString text = text_of(language, focus_text::state_text(state.why));
    QString line;
    if (!follower_.available()) {
        line = text_of(language, focus_text::kUnavailable);
    } else if (state.why == Why::Off || state.why == Why::Paused) {
        line = text;
    } else if (state.profile < 0) {
        return connection_text;
    } else if (state.why == Why::Rule) {
        line =
            text.arg(QString::number(state.profile + 1), QString::fromStdString(state.application));
    } else {
        line = text.arg(state.profile + 1);
    }
    return connection_text + QLatin1Char('\n') + line;
}

} // namespace tarvenor
