// Draws the program's skin: the pictures and skin files of the main window, the
// assignment dialog and the profile manager, written into the folder given on the command line.

#include "dialog_skins.h"
#include "lighting_bitmaps.h"
#include "main_skin.h"
#include "tray_icons.h"

#include "model/text_table.h"
#include "ui/logic/skin_keys.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace tarvenor::skin {
namespace {

namespace fs = std::filesystem;

constexpr int kOutlineRadius = 14;

const char* look_name(Look look) {
    switch (look) {
    case Look::Over:
        return "over";
    case Look::Down:
        return "down";
    case Look::Marked:
        return "disable";
    case Look::Normal:
        break;
    }
    return "normal";
}

// Background at every scale, outline and skin file of a dialog. The outline is 1x only: a window
// takes its shape in the skin's coordinates at any scale.
void write_dialog_base(const DialogSkin& dialog, const fs::path& folder, const char* prefix,
                       const char* ini_name) {
    for (const int scale : skin_keys::kPictureScales) {
        save_picture(render_dialog(dialog, Look::Normal, Sheet::Background, scale),
                     folder / (std::string(prefix) + "_back.jpg"));
    }
    save_picture(render_outline(dialog.size, kOutlineRadius),
                 folder / (std::string(prefix) + "_mask.bmp"));
    write_skin_file(dialog, folder / ini_name);
}

// "<prefix>_<look>.jpg" for each of the looks, at every scale.
void write_state_set(const DialogSkin& dialog, const fs::path& folder, const std::string& prefix,
                     std::initializer_list<Look> looks) {
    for (const Look look : looks) {
        for (const int scale : skin_keys::kPictureScales) {
            save_picture(render_dialog(dialog, look, Sheet::State, scale),
                         folder / (prefix + "_" + look_name(look) + ".jpg"));
        }
    }
}

// The colour pictures the main window loads with its faces: a hue strip and a value strip.
QImage colour_strip(bool hues) {
    QImage picture(256, 24, QImage::Format_RGB32);
    for (int x = 0; x < picture.width(); ++x) {
        const QColor c = hues ? QColor::fromHsv(x * 359 / 255, 255, 255) : QColor(x, x, x);
        for (int y = 0; y < picture.height(); ++y) {
            picture.setPixelColor(x, y, c);
        }
    }
    return picture;
}

void write_main(const fs::path& folder) {
    const DialogSkin dialog = main_skin(TextTable());
    write_dialog_base(dialog, folder, "main", "Main.ini");
    write_state_set(dialog, folder, "main", {Look::Normal, Look::Over, Look::Down, Look::Marked});
    // Flip: its own background, so that the keys of both sets show their captions wherever the
    // window draws only a frame over the background.
    const DialogSkin flip = flip_skin(TextTable());
    write_state_set(flip, folder, "main_flip",
                    {Look::Normal, Look::Over, Look::Down, Look::Marked});
    for (const int scale : skin_keys::kPictureScales) {
        save_picture(render_dialog(flip, Look::Normal, Sheet::Background, scale),
                     folder / "main_flip_back.jpg");
        save_picture(arrow_picture(render_dialog(dialog, Look::Normal, Sheet::Background, scale)),
                     folder / "Arrow.jpg");
        for (const NamedPicture& bitmap : lighting_bitmaps(scale)) {
            save_picture(bitmap.picture, folder / bitmap.name);
        }
    }
    // Loaded with the faces but never drawn: one scale is enough.
    save_picture(colour_strip(true), folder / "main_color0.jpg");
    save_picture(colour_strip(false), folder / "main_color1.jpg");
    for (const NamedPicture& icon : tray_icons()) {
        save_picture(icon.picture, folder / icon.name);
    }
}

void write_application_icons(const fs::path& folder) {
    for (const NamedPicture& icon : application_icons()) {
        fs::create_directories((folder / icon.name).parent_path());
        save_picture(icon.picture, folder / icon.name);
    }
}

void write_assignment(const fs::path& folder) {
    write_dialog_base(assignment_skin(Page::Key), folder, "composite", "Composite.ini");
    const struct {
        Page page;
        const char* prefix;
        bool has_disable;
    } sets[] = {{Page::Key, "key", false},
                {Page::Macro, "macro", true},
                {Page::Macro2, "macro2", true},
                {Page::Media, "media", false},
                {Page::Function, "function", false}};
    for (const auto& set : sets) {
        const DialogSkin dialog = assignment_skin(set.page);
        if (set.has_disable) {
            write_state_set(dialog, folder, set.prefix,
                            {Look::Normal, Look::Over, Look::Down, Look::Marked});
        } else {
            write_state_set(dialog, folder, set.prefix, {Look::Normal, Look::Over, Look::Down});
        }
    }
}

void write_profile(const fs::path& folder) {
    const DialogSkin dialog = profile_skin();
    write_dialog_base(dialog, folder, "profile", "Profile.ini");
    write_state_set(dialog, folder, "Profile", {Look::Normal, Look::Over, Look::Down});
}

void write_rules(const fs::path& folder) {
    const DialogSkin dialog = rules_skin();
    write_dialog_base(dialog, folder, "rules", "Rules.ini");
    write_state_set(dialog, folder, "Rules", {Look::Normal, Look::Over, Look::Down});
}

void write_rule_add(const fs::path& folder) {
    const DialogSkin dialog = rule_add_skin();
    write_dialog_base(dialog, folder, "rule_add", "RuleAdd.ini");
    write_state_set(dialog, folder, "RuleAdd", {Look::Normal, Look::Over, Look::Down});
}

} // namespace
} // namespace tarvenor::skin

int main(int argc, char** argv) {
    const bool icons = argc == 3 && std::string(argv[1]) == "--icons";
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: skin-gen <skin folder>\n"
                             "       skin-gen --icons <icon theme folder>\n");
        return 2;
    }
    // Drawing text needs the font database of a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    try {
        const std::filesystem::path folder = argv[argc - 1];
        std::filesystem::create_directories(folder);
        if (icons) {
            tarvenor::skin::write_application_icons(folder);
            return 0;
        }
        tarvenor::skin::write_main(folder);
        tarvenor::skin::write_assignment(folder);
        tarvenor::skin::write_profile(folder);
        tarvenor::skin::write_rules(folder);
        tarvenor::skin::write_rule_add(folder);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skin-gen: %s\n", error.what());
        return 1;
    }
    return 0;
}
