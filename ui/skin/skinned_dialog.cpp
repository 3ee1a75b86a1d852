#include "ui/skin/skinned_dialog.h"

#include "ui/logic/skin_keys.h"
#include "ui/skin/skin_error.h"
#include "ui/skin/state_surface.h"
#include "ui/skin/window_shape.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace tarvenor {

SkinnedDialog::SkinnedDialog(QWidget* parent, std::filesystem::path skin_file,
                             std::filesystem::path skin_folder)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), skin_file_(std::move(skin_file)),
      skin_folder_(std::move(skin_folder)) {
    setAttribute(Qt::WA_NoSystemBackground);
}

void SkinnedDialog::apply_skin() {
    // Every picture is named by the skin file: without it the file is what is missing.
    std::optional<IniFile> skin = IniFile::read(skin_file_);
    if (!skin) {
        throw SkinError("skin file missing: " + skin_file_.string());
    }
    skin_ = std::move(*skin);
    const std::string main = skin_.get(skin_keys::kScreen, skin_keys::kBackground);
    const std::string mask = skin_.get(skin_keys::kScreen, skin_keys::kOutline, main);
    background_ = load_skin_picture(skin_folder_ / main);
    outline_ = load_skin_picture(skin_folder_ / mask);
    hide();
    setFixedSize(background_.size());
    apply_outline();
}

void SkinnedDialog::apply_outline() {
    if (outline_.convertToFormat(QImage::Format_RGB32).isNull()) {
        return;
    }
    const QRegion region = outline_region(outline_);
    // An empty mask would mean "no mask" to the toolkit; an all-white outline must instead leave
    // nothing of the window, so the mask becomes one pixel outside it.
    setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
}

void SkinnedDialog::release_pictures() {
    background_ = QImage();
    outline_ = QImage();
    shown_background_ = QImage();
}

void SkinnedDialog::show_background(QImage picture) {
    shown_background_ = std::move(picture);
    update();
}

void SkinnedDialog::accept() {
    release_pictures();
    QDialog::accept();
}

bool SkinnedDialog::swallow_closing_key(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return true;
    default:
        return false;
    }
}

bool SkinnedDialog::is_help_key(const QKeyEvent& event) {
    return event.key() == Qt::Key_F1 || event.key() == Qt::Key_Help;
}

void SkinnedDialog::paintEvent(QPaintEvent*) {
    const QImage& picture = shown_background_.isNull() ? background_ : shown_background_;
    if (picture.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    update();
    QWindow* window = windowHandle();
    if (window != nullptr && window->startSystemMove()) {
        return;
    }
    drag_offset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    if (drag_offset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *drag_offset_);
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    drag_offset_.reset();
    QDialog::mouseReleaseEvent(event);
}

} // namespace tarvenor
