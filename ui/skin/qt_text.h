#pragma once

#include "model/text_table.h"

#include <QString>

#include <string>

namespace tarvenor {

// Our texts are UTF-8; the widgets take QString.
inline QString qt_text(const std::string& text) {
    return QString::fromStdString(text);
}

inline QString text_of(const TextTable& texts, TextKey key) {
    return qt_text(texts.text(key));
}

inline QString text_of(const LanguageFile& language, const OwnText& text) {
    return qt_text(language.text(text));
}

} // namespace tarvenor
