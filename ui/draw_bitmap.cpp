#include "ui/draw_bitmap.h"

#include "common/run_state.h"

namespace skervo {
namespace {

// The background's size was read once when it was loaded.
platform::BitmapRecord SizeOf(platform::BitmapHandle bitmap) {
    if (bitmap == runState.BackgroundBitmap.Get()) {
        return runState.BackgroundSize;
    }
    platform::BitmapRecord record;
    platform::GetObjectA(bitmap, record);
    return record;
}

// A monochrome copy of the source: white where the source has the
// transparent colour, black elsewhere. Exclusive or, and, exclusive or then
// leave the target as it was under the white places and show the source
// under the black ones.
// The mask is deleted before its context, once the context's former bitmap is back.
void DrawMasked(platform::DeviceContext target, platform::DeviceContext source,
                platform::BitmapRecord size, int x, int y, platform::ColorRef transparentColor) {
    const platform::OwnedMemoryContext maskContext(platform::CreateCompatibleDC(target));
    const platform::OwnedBitmap mask(platform::CreateBitmap(size.width, size.height, 1, 1));
    const platform::BitmapHandle formerMaskBitmap =
        platform::SelectObject(maskContext.Get(), mask.Get());

    platform::SetBkColor(source, transparentColor);
    platform::BitBlt(maskContext.Get(), 0, 0, size.width, size.height, source, 0, 0,
                     platform::kSrcCopy);
    platform::BitBlt(target, x, y, size.width, size.height, source, 0, 0, platform::kSrcInvert);
    platform::BitBlt(target, x, y, size.width, size.height, maskContext.Get(), 0, 0,
                     platform::kSrcAnd);
    platform::BitBlt(target, x, y, size.width, size.height, source, 0, 0, platform::kSrcInvert);
    platform::SelectObject(maskContext.Get(), formerMaskBitmap);
}

}  // namespace

void DrawBitmap(platform::DeviceContext target, platform::BitmapHandle bitmap, int x, int y,
                std::optional<platform::ColorRef> transparentColor) {
    const platform::BitmapRecord size = SizeOf(bitmap);
    const platform::OwnedMemoryContext source(platform::CreateCompatibleDC(target));
    const platform::BitmapHandle formerBitmap = platform::SelectObject(source.Get(), bitmap);
    if (!transparentColor) {
        platform::BitBlt(target, x, y, size.width, size.height, source.Get(), 0, 0,
                         platform::kSrcCopy);
    } else {
        DrawMasked(target, source.Get(), size, x, y, *transparentColor);
    }
    platform::SelectObject(source.Get(), formerBitmap);
}

}  // namespace skervo
