#include "dialog_skin.h"

#include "model/ini_file.h"
#include "ui/logic/skin_keys.h"

#include <stdexcept>

namespace tarvenor::skin {

namespace {

constexpr int kJpegQuality = 95;
// Four times the pixels, each half as large on the screen: compression shows less.
constexpr int kSharpJpegQuality = 90;

} // namespace

QImage scaled_picture(QSize size, int scale, const QColor& fill) {
    QImage picture(size * scale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    picture.fill(fill);
    return picture;
}

QImage render_dialog(const DialogSkin& dialog, Look look, Sheet sheet, int scale) {
    QImage picture = scaled_picture(dialog.size, scale, colour::kWindow);
    QPainter painter(&picture);
    if (sheet == Sheet::State) {
        painter.translate(-1, -1);
    }
    if (dialog.chrome) {
        dialog.chrome(painter);
    }
    const Look faces = sheet == Sheet::Background ? Look::Normal : look;
    for (const ImageControl& control : dialog.images) {
        if (sheet == Sheet::Background && !control.on_background) {
            continue;
        }
        painter.save();
        control.paint(painter, control.rect, faces);
        painter.restore();
    }
    return picture;
}

QImage render_outline(QSize size, int radius) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    // No anti-aliasing: every edge pixel is either inside or pure white.
    painter.drawRoundedRect(QRect(QPoint(0, 0), size), radius, radius);
    painter.end();
    // Only pure black and white: one bit a pixel keeps the file small.
    return picture.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

std::string rect_value(const QRect& rect) {
    return std::to_string(rect.x()) + "," + std::to_string(rect.y()) + "," +
           std::to_string(rect.width()) + "," + std::to_string(rect.height());
}

void write_skin_file(const DialogSkin& dialog, const std::filesystem::path& file) {
    IniFile ini;
    for (const IniValue& value : dialog.extra) {
        ini.set(value.section, value.key, value.value);
    }
    for (const ImageControl& control : dialog.images) {
        ini.set(skin_keys::kControls, control.key, rect_value(control.rect));
    }
    for (const PlainControl& control : dialog.plain) {
        ini.set(skin_keys::kControls, control.key, rect_value(control.rect));
    }
    if (!ini.write(file)) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

void save_picture(const QImage& picture, const std::filesystem::path& file) {
    const bool jpeg = file.extension() == ".jpg";
    const int scale = qRound(picture.devicePixelRatio());
    const std::filesystem::path named = skin_keys::scaled_picture_file(file, scale);
    if (!picture.save(QString::fromStdString(named.string()), nullptr,
                      !jpeg       ? -1
                      : scale > 1 ? kSharpJpegQuality
                                  : kJpegQuality)) {
        throw std::runtime_error("cannot write " + named.string());
    }
}

} // namespace tarvenor::skin
