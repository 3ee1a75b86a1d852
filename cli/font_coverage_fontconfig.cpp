#include "cli/font_coverage.h"

#include "device/dynamic_library.h"

#include <cstdlib>
#include <memory>

namespace tarvenor::cli {
namespace {

// The few parts of fontconfig's stable C interface used here (soname libfontconfig.so.1), declared
// here so that building needs no fontconfig headers.
struct FcConfig;
struct FcPattern;
struct FcObjectSet;
struct FcFontSet {
    int nfont;
    int sfont;
    FcPattern** fonts;
};
constexpr int kFcResultMatch = 0;

struct Fontconfig {
    FcConfig* (*init_load_config_and_fonts)();
    void (*config_destroy)(FcConfig*);
    FcPattern* (*name_parse)(const unsigned char*);
    void (*pattern_destroy)(FcPattern*);
    FcObjectSet* (*object_set_create)();
    int (*object_set_add)(FcObjectSet*, const char*);
    void (*object_set_destroy)(FcObjectSet*);
    FcFontSet* (*font_list)(FcConfig*, FcPattern*, FcObjectSet*);
    void (*font_set_destroy)(FcFontSet*);
    int (*pattern_get_string)(const FcPattern*, const char*, int, unsigned char**);
};

template <typename Function>
bool resolve(const DynamicLibrary& library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(library.symbol(name));
    return function != nullptr;
}

// False with `missing` naming the first function the library lacks.
bool resolve_all(const DynamicLibrary& library, Fontconfig& fc, std::string& missing) {
    const auto need = [&](const char* name, auto& function) {
        if (missing.empty() && !resolve(library, name, function)) {
            missing = name;
        }
    };
    need("FcInitLoadConfigAndFonts", fc.init_load_config_and_fonts);
    need("FcConfigDestroy", fc.config_destroy);
    need("FcNameParse", fc.name_parse);
    need("FcPatternDestroy", fc.pattern_destroy);
    need("FcObjectSetCreate", fc.object_set_create);
    need("FcObjectSetAdd", fc.object_set_add);
    need("FcObjectSetDestroy", fc.object_set_destroy);
    need("FcFontList", fc.font_list);
    need("FcFontSetDestroy", fc.font_set_destroy);
    need("FcPatternGetString", fc.pattern_get_string);
    return missing.empty();
}

std::string library_file() {
    const char* chosen = std::getenv("TARVENOR_FONTCONFIG");
    return chosen != nullptr && chosen[0] != '\0' ? chosen : "libfontconfig.so.1";
}

// The fonts of the configuration that cover the language, with their family names.
FontCoverage list_fonts(const Fontconfig& fc, FcConfig* config, const std::string& language) {
    FontCoverage coverage;
    const std::string query = ":lang=" + language;
    const std::unique_ptr<FcPattern, void (*)(FcPattern*)> pattern(
        fc.name_parse(reinterpret_cast<const unsigned char*>(query.c_str())), fc.pattern_destroy);
    const std::unique_ptr<FcObjectSet, void (*)(FcObjectSet*)> objects(fc.object_set_create(),
                                                                       fc.object_set_destroy);
    if (!pattern || !objects || fc.object_set_add(objects.get(), "family") == 0) {
        coverage.error = "fontconfig could not build the query " + query;
        return coverage;
    }
    const std::unique_ptr<FcFontSet, void (*)(FcFontSet*)> fonts(
        fc.font_list(config, pattern.get(), objects.get()), fc.font_set_destroy);
    if (!fonts) {
        coverage.error = "fontconfig could not list the fonts";
        return coverage;
    }
    coverage.known = true;
    coverage.font_count = fonts->nfont;
    unsigned char* family = nullptr;
    if (fonts->nfont > 0 &&
        fc.pattern_get_string(fonts->fonts[0], "family", 0, &family) == kFcResultMatch) {
        coverage.example = reinterpret_cast<const char*>(family);
    }
    return coverage;
}

} // namespace

FontCoverage fonts_covering(const std::string& language) {
    const std::string file = library_file();
    std::string error;
    const std::unique_ptr<DynamicLibrary> library = DynamicLibrary::open(file, error);
    if (!library) {
        return {false, 0, {}, "fontconfig (" + file + ") cannot be loaded: " + error};
    }
    Fontconfig fc{};
    std::string missing;
    if (!resolve_all(*library, fc, missing)) {
        return {false, 0, {}, file + " lacks " + missing};
    }
    const std::unique_ptr<FcConfig, void (*)(FcConfig*)> config(fc.init_load_config_and_fonts(),
                                                                fc.config_destroy);
    if (!config) {
        return {false, 0, {}, "fontconfig could not read its configuration"};
    }
    return list_fonts(fc, config.get(), language);
}

} // namespace tarvenor::cli
