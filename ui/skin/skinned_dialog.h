#pragma once

#include "model/ini_file.h"
#include "ui/skin/face_images.h"
#include "ui/skin/skin_pictures.h"

#include <QDialog>
#include <QPoint>

#include <filesystem>
#include <optional>

namespace tarvenor {

class ImageButton;

// The base of every skinned dialog: a frameless window as large as its background picture,
// painted from it, cut to the shape of its outline picture and moved by dragging its surface.
// Its pictures come from the shared cache and are decoded when first drawn; once no skinned
// window shows any more, the cache lets go of them all.
class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    SkinnedDialog(QWidget* parent, std::filesystem::path skin_file,
                  std::filesystem::path skin_folder);

    const IniFile& skin() const { return skin_; }
    const std::filesystem::path& skin_folder() const { return skin_folder_; }
    // A picture of this dialog's skin folder, from the shared cache; throws SkinError naming the
    // file when it is missing.
    const SkinPicture& skin_picture(const std::string& name) const;

    // The window is shaped from its outline before it first shows.
    void setVisible(bool visible) override;

protected:
    // Reads the skin file, checks the background and outline pictures and sizes the window.
    // Throws SkinError naming the skin file or picture that is missing, or the picture whose
    // header cannot be read.
    void apply_skin();

    // A captioned button of the skin's controls at `key`, in the look of the dialogs' text
    // buttons, its faces from the state pictures "<set>_normal.jpg", "_over.jpg" and
    // "_down.jpg" (pressed and disabled look pressed, selected normal).
    ImageButton* add_caption_button(const char* key, const std::string& set,
                                    const QString& caption);
    // Paints `picture` in place of the background (a mode of the window that shows other
    // controls in the same places), or the background again for none. The window keeps its size
    // and outline.
    void show_background(const SkinPicture* picture);

    // Enter and Escape would accept or reject the dialog, yet a skinned dialog goes by its
    // buttons only: such a key is taken here (true); any other is left to the caller.
    static bool swallow_closing_key(QKeyEvent* event);
    // F1 or the keyboard's Help key.
    static bool is_help_key(const QKeyEvent& event);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void apply_outline();

    std::filesystem::path skin_file_;
    std::filesystem::path skin_folder_;
    IniFile skin_;
    const SkinPicture* background_ = nullptr;
    const SkinPicture* outline_ = nullptr;
    const SkinPicture* shown_background_ = nullptr;
    // The outline is decoded once, when the window first shows; the region is kept.
    bool shaped_ = false;
    // Where the surface was grabbed, while the window is moved by hand (platforms that cannot
    // move a window for us).
    std::optional<QPoint> drag_offset_;
};

} // namespace tarvenor
