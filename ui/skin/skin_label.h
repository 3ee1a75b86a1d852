#pragma once

#include "model/ini_file.h"
#include "ui/logic/skin_keys.h"

#include <QLabel>

namespace tarvenor {

// A text written over a dialog's pictures at its place in the skin. Its font shrinks until the
// text fits the place, so that no language's words are cut; clicks go through to the controls
// beneath.
class SkinLabel : public QLabel {
    Q_OBJECT
public:
    SkinLabel(QWidget& dialog, const IniFile& skin, const skin_keys::LanguageLabel& label);

    void show_text(const QString& text);

private:
    int pixels_;
};

} // namespace tarvenor
