#include "ui/main/link_opener.h"

#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QWidget>

#include <system_error>

namespace tarvenor {

LinkOpener::LinkOpener(const LanguageFile& language, std::filesystem::path help_file)
    : language_(language), help_file_(std::move(help_file)),
      open_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

QUrl LinkOpener::help_url() const {
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(help_file_.string()));
    if (!language_.is_english()) {
        url.setFragment(QString::fromLatin1(kChineseAnchor));
    }
    return url;
}

void LinkOpener::open_help(QWidget* asker) const {
    const QString path = QDir::toNativeSeparators(QString::fromStdString(help_file_.string()));
    std::error_code error;
    if (!std::filesystem::is_regular_file(help_file_, error)) {
        tell(asker, link_text::kHelpMissing, path);
    } else if (!open_(help_url())) {
        tell(asker, link_text::kHelpNotOpened, path);
    }
}

void LinkOpener::open_address(QWidget* asker, const QString& address) const {
    if (!open_(QUrl(address))) {
        tell(asker, link_text::kAddressNotOpened, address);
    }
}

// Window-modal over the window that asked (a modal dialog's parent could not be reached), with
// the text selectable so that the path or address can be copied.
void LinkOpener::tell(QWidget* asker, const OwnText& text, const QString& what) const {
    auto* box = new QMessageBox(QMessageBox::Warning, asker->window()->windowTitle(),
                                QString::fromStdString(language_.text(text)).arg(what),
                                QMessageBox::Ok, asker);
    box->setObjectName(QStringLiteral("open_failed"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->open();
}

} // namespace tarvenor
