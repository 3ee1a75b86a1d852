#pragma once

#include "model/text_table.h"
#include "ui/main/link_opener.h"

#include <QDialog>

namespace tarvenor {

// The About box: two lines of the language file and the skin's link, opened through `links`.
// Modeless; the window keeps at most one.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(QWidget* parent, const LanguageFile& language, const QString& link,
                const LinkOpener& links);
};

} // namespace tarvenor
