#pragma once

#include "model/ini_file.h"

#include <QDialog>
#include <QImage>
#include <QPoint>

#include <filesystem>
#include <optional>

namespace tarvenor {

// The base of every skinned dialog: a frameless window as large as its background picture,
// painted from it, cut to the shape of its outline picture and moved by dragging its surface.
class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    SkinnedDialog(QWidget* parent, std::filesystem::path skin_file,
                  std::filesystem::path skin_folder);

    const IniFile& skin() const { return skin_; }
    const std::filesystem::path& skin_folder() const { return skin_folder_; }
    const QImage& background() const { return background_; }
    bool has_pictures() const { return !background_.isNull() || !outline_.isNull(); }

    // OK: the pictures are released before the dialog closes.
    void accept() override;

protected:
    // Reads the skin file, loads the background and outline pictures, sizes and shapes the
    // window. Throws SkinError naming the skin file or picture that is missing, or the picture
    // that cannot be decoded.
    void apply_skin();

    // Paints `picture` in place of the background (a mode of the window that shows other
    // controls in the same places), or the background again for a null picture. The window keeps
    // its size and outline.
    void show_background(QImage picture);

    // Enter and Escape would accept or reject the dialog, yet a skinned dialog goes by its
    // buttons only: such a key is taken here (true); any other is left to the caller.
    static bool swallow_closing_key(QKeyEvent* event);
    // F1 or the keyboard's Help key.
    static bool is_help_key(const QKeyEvent& event);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void apply_outline();
    void release_pictures();

    std::filesystem::path skin_file_;
    std::filesystem::path skin_folder_;
    IniFile skin_;
    QImage background_;
    QImage outline_;
    QImage shown_background_;
    // Where the surface was grabbed, while the window is moved by hand (platforms that cannot
    // move a window for us).
    std::optional<QPoint> drag_offset_;
};

} // namespace tarvenor
