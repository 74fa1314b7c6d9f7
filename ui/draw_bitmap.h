#pragma once
// Drawing a whole picture onto a device context, opaque or with one colour
// left out, which needs nothing but plain raster operations.
#include <optional>

#include "platform/gdi.h"

namespace skervo {

// Draws the bitmap with its top-left corner at (x, y). With a transparent
// colour the pixels of that colour keep what the target showed;
// the target must have its default colours (black text, white background).
void DrawBitmap(platform::DeviceContext target, platform::BitmapHandle bitmap, int x, int y,
                std::optional<platform::ColorRef> transparentColor = std::nullopt);

}  // namespace skervo
