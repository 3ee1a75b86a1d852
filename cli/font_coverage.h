#pragma once

#include <string>

namespace tarvenor::cli {

// What fontconfig says about the fonts for one language.
struct FontCoverage {
    bool known = false;  // false: fontconfig could not be asked (`error` says why)
    int font_count = 0;  // installed fonts that cover the language
    std::string example; // the family of one of them
    std::string error;
};

// Asks fontconfig which installed fonts cover `language` (a fontconfig language tag such as
// "zh-cn"). The library is loaded at run time, so the command line starts, and says it cannot
// tell, where it is missing. TARVENOR_FONTCONFIG (a test hook) names another library file.
FontCoverage fonts_covering(const std::string& language);

} // namespace tarvenor::cli
