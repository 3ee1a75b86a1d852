#include "cli/language_font_check.h"

#include "cli/font_coverage.h"
#include "model/text_table.h"

namespace tarvenor::cli {
namespace {

constexpr const char* kLanguageFont = "language font";

struct LanguageNeeds {
    const char* name;
    const char* fontconfig_tag;
    const char* fix;
};

LanguageNeeds needs_of(const LanguageFile& language) {
    if (language.is_english()) {
        return {"English", "en", "install a font: sudo apt install fonts-dejavu-core"};
    }
    return {"Chinese", "zh-cn",
            "install a font with Chinese characters: sudo apt install fonts-wqy-microhei (or "
            "fonts-noto-cjk)"};
}

} // namespace

DoctorCheck check_language_font(const LanguageFile& language) {
    const LanguageNeeds needs = needs_of(language);
    const std::string wanted = std::string(needs.name) + " (" + needs.fontconfig_tag + ")";
    const FontCoverage coverage = fonts_covering(needs.fontconfig_tag);
    if (!coverage.known) {
        return {kLanguageFont,
                DoctorCheck::State::Unknown,
                coverage.error + ": cannot tell whether a font covers " + wanted,
                {}};
    }
    if (coverage.font_count == 0) {
        return check_failed(kLanguageFont,
                            "no installed font covers " + wanted +
                                ", the language chosen: its texts show as empty boxes",
                            needs.fix);
    }
    return check_passed(kLanguageFont, wanted + ": " + std::to_string(coverage.font_count) +
                                           " fonts, e.g. " + coverage.example);
}

} // namespace tarvenor::cli
