#include "ui/main/about_dialog.h"

#include "ui/main/profile_file_dialog.h"
#include "ui/skin/qt_text.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tarvenor {

namespace {

constexpr OwnText kVersionText{"ABOUT_VERSION", "Version %1"};
constexpr OwnText kWhatText{
    "ABOUT_WHAT",
    "Sets up the Tarvenor gaming keyboard: key assignments, macros, lighting, report rate and "
    "its three profiles."};

QLabel* add_line(QWidget& dialog, QVBoxLayout& layout, const QString& text, const char* name) {
    auto* line = new QLabel(text, &dialog);
    line->setObjectName(QString::fromLatin1(name));
    line->setWordWrap(true);
    layout.addWidget(line);
    return line;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent, const LanguageFile& language, const QString& link,
                         const LinkOpener& links)
    : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("about"));
    setWindowTitle(menu_item_title(language, "MENU_3"));
    auto* layout = new QVBoxLayout(this);
    QLabel* name = add_line(*this, *layout, QString::fromStdString(language.text("GUANYU_JIESHAO")),
                            "GUANYU_JIESHAO");
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    name->setFont(bold);
    add_line(*this, *layout,
             text_of(language, kVersionText).arg(QCoreApplication::applicationVersion()),
             "version");
    add_line(*this, *layout, text_of(language, kWhatText), "what");
    add_line(*this, *layout, QString::fromStdString(language.text("GUANYU_BANQUAN")),
             "GUANYU_BANQUAN");
    QLabel* hyperlink = add_line(
        *this, *layout, QStringLiteral("<a href=\"%1\">%1</a>").arg(link.toHtmlEscaped()), "link");
    connect(hyperlink, &QLabel::linkActivated, this,
            [this, &links](const QString& address) { links.open_address(this, address); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::close);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

} // namespace tarvenor
