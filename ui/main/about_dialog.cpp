#include "ui/main/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tarvenor {

AboutDialog::AboutDialog(QWidget* parent, const LanguageFile& language, const QString& link,
                         const LinkOpener& links)
    : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("about"));
    auto* layout = new QVBoxLayout(this);
    for (const char* key : {"GUANYU_JIESHAO", "GUANYU_BANQUAN"}) {
        auto* line = new QLabel(QString::fromStdString(language.text(key)), this);
        line->setObjectName(QString::fromLatin1(key));
        layout->addWidget(line);
    }
    auto* hyperlink =
        new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(link.toHtmlEscaped()), this);
    hyperlink->setObjectName(QStringLiteral("link"));
    connect(hyperlink, &QLabel::linkActivated, this,
            [this, &links](const QString& address) { links.open_address(this, address); });
    layout->addWidget(hyperlink);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::close);
    layout->addWidget(buttons);
}

} // namespace tarvenor
