#include "ui/profile/rules_dialog.h"

#include "ui/logic/focus_texts.h"
#include "ui/logic/skin_keys.h"
#include "ui/profile/rule_add_dialog.h"
#include "ui/skin/placement.h"
#include "ui/skin/skin_label.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QTreeWidget>

namespace tarvenor {
namespace {

// The default's choices: leave the profile, then profiles 1..3.
constexpr int kKeepIndex = 0;

QString text_in(const LanguageFile& language, const OwnText& own) {
    return QString::fromStdString(language.text(own));
}

QStringList profile_names(const LanguageFile& language) {
    QStringList names;
    for (int profile = 1; profile <= 3; ++profile) {
        names << text_in(language, focus_text::kProfileN).arg(profile);
    }
    return names;
}

} // namespace

RulesDialog::RulesDialog(QWidget* parent, const std::filesystem::path& skin_folder,
                         const LanguageFile& language, RulesPageHost& host)
    : SkinnedDialog(parent, skin_folder / "Rules.ini", skin_folder), language_(language),
      host_(host), ask_rule_([this](const std::vector<std::string>& running,
                                    std::string& application, int& profile) {
          RuleAddDialog dialog(this, this->skin_folder(), language_, running);
          if (dialog.exec() != QDialog::Accepted) {
              return false;
          }
          application = dialog.application();
          profile = dialog.profile();
          return true;
      }),
      message_(
          [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); }) {
    setObjectName(QStringLiteral("rules"));
    const QString title = text(focus_text::kTitle);
    setWindowTitle(title);
    apply_skin();
    (new SkinLabel(*this, skin(), skin_keys::rules::kTitleLabel))->show_text(title);
    (new SkinLabel(*this, skin(), skin_keys::rules::kOtherLabel))
        ->show_text(text(focus_text::kOtherApplications));

    enabled_ = new QCheckBox(text(focus_text::kEnabled), this);
    enabled_->setObjectName(QString::fromLatin1(skin_keys::rules::kEnabled));
    enabled_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    place_control(*enabled_, skin(), skin_keys::kControls, skin_keys::rules::kEnabled);
    connect(enabled_, &QCheckBox::toggled, this, &RulesDialog::set_enabled);

    view_ = new QTreeWidget(this);
    view_->setObjectName(QString::fromLatin1(skin_keys::rules::kList));
    view_->setColumnCount(2);
    view_->setHeaderLabels(
        {text(focus_text::kColumnApplication), text(focus_text::kColumnProfile)});
    view_->setColumnWidth(0, 300);
    view_->setRootIsDecorated(false);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    place_control(*view_, skin(), skin_keys::kControls, skin_keys::rules::kList);

    default_ = profile_choice(true);
    default_->setObjectName(QString::fromLatin1(skin_keys::rules::kDefault));
    place_control(*default_, skin(), skin_keys::kControls, skin_keys::rules::kDefault);
    connect(default_, &QComboBox::activated, this, &RulesDialog::set_default);

    status_ = new QLabel(this);
    status_->setObjectName(QString::fromLatin1(skin_keys::rules::kStatusLabel.key));
    status_->setWordWrap(true);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status_->setStyleSheet(QStringLiteral("color: #c8c8c8; background: transparent;"));
    place_control(*status_, skin(), skin_keys::kControls, skin_keys::rules::kStatusLabel.key);

    add_ = make_button(skin_keys::rules::kAdd, focus_text::kAdd);
    remove_ = make_button(skin_keys::rules::kRemove, focus_text::kRemove);
    ImageButton* close = make_button(skin_keys::kCancel, focus_text::kClose);
    connect(add_, &QAbstractButton::clicked, this, &RulesDialog::add_rule);
    connect(remove_, &QAbstractButton::clicked, this, &RulesDialog::remove_rule);
    connect(close, &QAbstractButton::clicked, this, &RulesDialog::reject);
}

QString RulesDialog::text(const OwnText& own) const {
    return text_in(language_, own);
}

ImageButton* RulesDialog::make_button(const char* key, const OwnText& caption) {
    return add_caption_button(key, "Rules", text(caption));
}

QComboBox* RulesDialog::profile_choice(bool with_keep) {
    auto* choice = new QComboBox(this);
    if (with_keep) {
        choice->addItem(text(focus_text::kKeep));
    }
    choice->addItems(profile_names(language_));
    return choice;
}

int RulesDialog::exec() {
    show_rules();
    return SkinnedDialog::exec();
}

void RulesDialog::show_rules() {
    showing_ = true;
    const ProfileRules& rules = host_.rules();
    enabled_->setChecked(rules.enabled);
    default_->setCurrentIndex(rules.default_profile ? *rules.default_profile + 1 : kKeepIndex);
    view_->clear();
    for (const ProfileRule& rule : rules.rules) {
        auto* item = new QTreeWidgetItem(view_);
        item->setText(0, QString::fromStdString(rule.application));
        QComboBox* choice = profile_choice(false);
        choice->setCurrentIndex(rule.profile);
        // Queued: saving rebuilds the rows, this choice among them.
        connect(
            choice, &QComboBox::activated, this,
            [this, application = rule.application](int profile) {
                set_rule_profile(application, profile);
            },
            Qt::QueuedConnection);
        view_->setItemWidget(item, 1, choice);
    }
    showing_ = false;
    show_status();
}

void RulesDialog::show_status() {
    QString status;
    if (const std::string problem = host_.rules_problem(); !problem.empty()) {
        status = text(focus_text::kDamaged).arg(QString::fromStdString(problem));
    } else if (const std::optional<OwnText> problem = host_.focus_problem()) {
        status = text(focus_text::kNoSource).arg(text(*problem));
    } else {
        status = text(focus_text::kSource).arg(QString::fromStdString(host_.focus_source()));
    }
    status_->setText(status);
}

void RulesDialog::save(const ProfileRules& rules) {
    if (const FileWriteResult saved = host_.save_rules(rules); !saved) {
        message_(text(focus_text::kSaveFailed).arg(QString::fromStdString(saved.reason())));
    }
    show_rules();
}

void RulesDialog::add_rule() {
    std::string application;
    int profile = 0;
    if (!ask_rule_(running_application_names(host_.running_windows()), application, profile)) {
        return;
    }
    if (const std::string problem = application_name_problem(application); !problem.empty()) {
        message_(QString::fromStdString(problem));
        return;
    }
    ProfileRules rules = host_.rules();
    rules.set(application, profile);
    save(rules);
}

void RulesDialog::remove_rule() {
    const QTreeWidgetItem* item = view_->currentItem();
    if (item == nullptr) {
        return;
    }
    ProfileRules rules = host_.rules();
    rules.remove(item->text(0).toStdString());
    save(rules);
}

void RulesDialog::set_rule_profile(const std::string& application, int profile) {
    ProfileRules rules = host_.rules();
    rules.set(application, profile);
    save(rules);
}

void RulesDialog::set_default(int index) {
    ProfileRules rules = host_.rules();
    if (index == kKeepIndex) {
        rules.default_profile.reset();
    } else {
        rules.default_profile = index - 1;
    }
    save(rules);
}

void RulesDialog::set_enabled(bool enabled) {
    if (showing_) {
        return;
    }
    ProfileRules rules = host_.rules();
    rules.enabled = enabled;
    save(rules);
}

} // namespace tarvenor
