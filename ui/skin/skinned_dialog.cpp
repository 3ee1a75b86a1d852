#include "ui/skin/skinned_dialog.h"

#include "ui/logic/skin_keys.h"
#include "ui/skin/image_button.h"
#include "ui/skin/placement.h"
#include "ui/skin/skin_error.h"
#include "ui/skin/window_shape.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace tarvenor {

namespace {

bool skinned_window_shows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && qobject_cast<SkinnedDialog*>(window) != nullptr) {
            return true;
        }
    }
    return false;
}

// Once the hiding is over (a window's dialogs hide after it), and only when no skinned window
// shows any more: one that still shows would decode its pictures again as soon as it repaints.
void release_pictures_when_all_hidden() {
    static bool pending = false;
    if (pending) {
        return;
    }
    pending = true;
    QMetaObject::invokeMethod(
        qApp,
        [] {
            pending = false;
            if (!skinned_window_shows()) {
                SkinPictures::shared().release();
            }
        },
        Qt::QueuedConnection);
}

} // namespace

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
    background_ = &skin_picture(main);
    outline_ = &skin_picture(mask);
    hide();
    setFixedSize(background_->size());
}

const SkinPicture& SkinnedDialog::skin_picture(const std::string& name) const {
    return SkinPictures::shared().picture(skin_folder_ / name);
}

void SkinnedDialog::setVisible(bool visible) {
    if (visible && !shaped_ && outline_ != nullptr) {
        apply_outline();
    }
    QDialog::setVisible(visible);
}

void SkinnedDialog::apply_outline() {
    shaped_ = true;
    QImage outline;
    try {
        outline = decode_skin_picture(outline_->file());
    } catch (const SkinError& error) {
        // Checked at start, broken since: the window keeps its rectangle.
        qWarning("%s", error.what());
        return;
    }
    const QRegion region = outline_region(outline);
    // An empty mask would mean "no mask" to the toolkit; an all-white outline must instead leave
    // nothing of the window, so the mask becomes one pixel outside it.
    setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
}

void SkinnedDialog::show_background(const SkinPicture* picture) {
    shown_background_ = picture;
    update();
}

void SkinnedDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    release_pictures_when_all_hidden();
}

ImageButton* SkinnedDialog::add_caption_button(const char* key, const std::string& set,
                                               const QString& caption) {
    const SkinPicture& normal = skin_picture(set + "_normal.jpg");
    const SkinPicture& over = skin_picture(set + "_over.jpg");
    const SkinPicture& down = skin_picture(set + "_down.jpg");
    auto* control = new ImageButton(this);
    control->setObjectName(QString::fromLatin1(key));
    place_image_control(*control, skin_, skin_keys::kControls, key,
                        {&normal, &over, &down, &down, &normal});
    control->setText(caption);
    control->set_text_style(true, 9, QStringLiteral("Tahoma"), Qt::white,
                            Qt::AlignCenter | Qt::TextSingleLine);
    return control;
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
    const SkinPicture* picture = shown_background_ != nullptr ? shown_background_ : background_;
    if (picture == nullptr) {
        return;
    }
    QPainter painter(this);
    draw_skin_picture(painter, QPointF(0, 0), *picture);
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
