#pragma once

#include "ui/skin/skin_pictures.h"

#include <array>

namespace tarvenor {

// The five face slots of an image control, in this order.
enum class FaceSlot { Normal = 0, Hover, Pressed, Disabled, Selected };
// The picture each slot's face is cut from; shared, not owned.
using FaceImages = std::array<const SkinPicture*, 5>;

} // namespace tarvenor
