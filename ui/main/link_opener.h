#pragma once

#include "model/text_table.h"

#include <QString>
#include <QUrl>

#include <filesystem>
#include <functional>

class QWidget;

namespace tarvenor {

// The words for what the desktop could not open. %1 is the file or the address, so that the
// user can open it by hand.
namespace link_text {

inline constexpr OwnText kHelpMissing{
    "HELP_FILE_MISSING", "The help file is missing; install the program again to get it back. It "
                         "belongs here: %1"};
inline constexpr OwnText kHelpNotOpened{
    "HELP_NOT_OPENED", "The help could not be opened: this desktop has no program set to open "
                       "it. Open this file in a web browser: %1"};
inline constexpr OwnText kAddressNotOpened{
    "LINK_NOT_OPENED", "The address could not be opened: this desktop has no web browser set to "
                       "open it. Open it in a web browser: %1"};

} // namespace link_text

// Opens the help page and web addresses with the desktop's own handler. Whatever cannot be
// opened is told in a message over the window that asked, naming the file or the address.
class LinkOpener {
public:
    // Hands a URL to the desktop; false when the desktop could not open it.
    using Opener = std::function<bool(const QUrl&)>;
    // The anchor of the help page's Chinese part.
    static constexpr const char* kChineseAnchor = "zh";

    LinkOpener(const LanguageFile& language, std::filesystem::path help_file);

    void set_opener(Opener opener) { open_ = std::move(opener); }
    // The help page at the part in the language of the texts. A missing page is told without
    // asking the desktop, which would only say so on standard error.
    void open_help(QWidget* asker) const;
    void open_address(QWidget* asker, const QString& address) const;
    QUrl help_url() const;

private:
    void tell(QWidget* asker, const OwnText& text, const QString& what) const;

    const LanguageFile& language_;
    std::filesystem::path help_file_;
    Opener open_;
};

} // namespace tarvenor
