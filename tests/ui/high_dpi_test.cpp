// The windows on screens above 100 %: run as they are and again with QT_SCALE_FACTOR=2.

#include "ui/logic/skin_keys.h"
#include "ui/skin/skin_rect.h"
#include "ui/skin/window_shape.h"

#include "skin_test_support.h"
#include "window_fixture.h"

#include <QImage>

namespace tarvenor {
namespace {

const std::filesystem::path kSkinFolder = TARVENOR_SKIN_DIR;

QRect skin_rect(const IniFile& skin, const char* key) {
    const SkinRect r = read_skin_rect(skin, skin_keys::kControls, key);
    return QRect(r.x, r.y, r.w, r.h);
}

// A picture of the skin at `scale`, resized to `size` device pixels when it is not that size.
QImage reference(const char* name, int scale, QSize size) {
    const QImage picture(
        QString::fromStdString(skin_keys::scaled_picture_file(kSkinFolder / name, scale).string()));
    return picture.size() == size
               ? picture
               : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The window shows the picture drawn for its screen's scale, not another one resized: its pixels
// are nearer to the picture of its own scale than to the other one's.
using HighDpiWindowTest = testing::WindowTest;

TEST_F(HighDpiWindowTest, DrawsThePicturesOfItsScreensScaleInTheSkinsCoordinates) {
    window->set_connected_count(1);
    window->open_window();
    const qreal ratio = window->devicePixelRatio();
    const QImage shot = window->grab().toImage();
    // The skin is drawn at 1x and 2x: above 100 % the 2x picture is the sharper one.
    const int scale = ratio > 1 ? 2 : 1;
    const QImage own = reference("main_back.jpg", scale, shot.size());
    const QImage other = reference("main_back.jpg", scale == 1 ? 2 : 1, shot.size());
    // The letter rows: key faces from the state pictures, over the background's places.
    const QRect keys =
        skin_rect(window->skin(), "KEY_010").united(skin_rect(window->skin(), "KEY_032"));
    const QRect device((QPointF(keys.topLeft()) * ratio).toPoint(),
                       (QSizeF(keys.size()) * ratio).toSize());
    const double to_own =
        test::mean_difference(shot, device.topLeft(), own, device.topLeft(), device.size());
    const double to_other =
        test::mean_difference(shot, device.topLeft(), other, device.topLeft(), device.size());
    EXPECT_LE(to_own, 3.0) << "at " << ratio;
    EXPECT_LT(to_own, to_other) << "at " << ratio;
    // The shape is the 1x outline's in the window's own pixels, whatever the screen's.
    const QImage outline(QString::fromStdString((kSkinFolder / "main_mask.bmp").string()));
    EXPECT_EQ(window->mask(), outline_region(outline));
    EXPECT_EQ(window->size(), outline.size());
}

} // namespace
} // namespace tarvenor
