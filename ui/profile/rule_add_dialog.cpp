#include "ui/profile/rule_add_dialog.h"

#include "ui/logic/focus_texts.h"
#include "ui/logic/skin_keys.h"
#include "ui/skin/placement.h"
#include "ui/skin/skin_label.h"

#include <QComboBox>
#include <QKeyEvent>

namespace tarvenor {
namespace {} // namespace

RuleAddDialog::RuleAddDialog(QWidget* parent, const std::filesystem::path& skin_folder,
                             const LanguageFile& language, const std::vector<std::string>& running)
    : SkinnedDialog(parent, skin_folder / "RuleAdd.ini", skin_folder), language_(language) {
    setObjectName(QStringLiteral("add_rule"));
    const QString title = QString::fromStdString(language_.text(focus_text::kAddTitle));
    setWindowTitle(title);
    apply_skin();
    (new SkinLabel(*this, skin(), skin_keys::rule_add::kTitleLabel))->show_text(title);
    (new SkinLabel(*this, skin(), skin_keys::rule_add::kPromptLabel))
        ->show_text(QString::fromStdString(language_.text(focus_text::kAddPrompt)));
    (new SkinLabel(*this, skin(), skin_keys::rule_add::kProfileLabel))
        ->show_text(QString::fromStdString(language_.text(focus_text::kColumnProfile)));

    application_ = new QComboBox(this);
    application_->setObjectName(QStringLiteral("application"));
    application_->setEditable(true);
    for (const std::string& name : running) {
        application_->addItem(QString::fromStdString(name));
    }
    application_->setCurrentText(QString());
    place_control(*application_, skin(), skin_keys::kControls, skin_keys::rule_add::kApplication);

    profile_ = new QComboBox(this);
    profile_->setObjectName(QStringLiteral("profile"));
    for (int profile = 1; profile <= 3; ++profile) {
        profile_->addItem(
            QString::fromStdString(language_.text(focus_text::kProfileN)).arg(profile));
    }
    place_control(*profile_, skin(), skin_keys::kControls, skin_keys::rule_add::kProfile);

    ok_ = add_caption_button(skin_keys::kOk, "RuleAdd",
                             QString::fromStdString(language_.text(focus_text::kOk)));
    cancel_ = add_caption_button(skin_keys::kCancel, "RuleAdd",
                                 QString::fromStdString(language_.text(focus_text::kCancel)));
    connect(ok_, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QAbstractButton::clicked, this, &QDialog::reject);
    application_->setFocus();
}

// A typed name ends with Enter, as in a form (the dialog has no default button to press).
void RuleAddDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

std::string RuleAddDialog::application() const {
    return application_->currentText().trimmed().toStdString();
}

int RuleAddDialog::profile() const {
    return profile_->currentIndex();
}

} // namespace tarvenor
