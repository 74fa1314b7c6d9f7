#pragma once
// Drawing: device contexts, bitmaps, fonts and texts.
#include <cstdint>
#include <string>

#include "platform/owned.h"
#include "platform/types.h"
#include "platform/user.h"

namespace skervo::platform {

// COLORREF: 0x00BBGGRR.
using ColorRef = std::uint32_t;
constexpr ColorRef Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red | (green << 8) | (static_cast<ColorRef>(blue) << 16);
}

inline constexpr int kTransparent = 1;  // background mode

inline constexpr std::uint32_t kSrcCopy = 0x00CC0020;
inline constexpr std::uint32_t kSrcInvert = 0x00660046;
inline constexpr std::uint32_t kSrcAnd = 0x008800C6;

inline constexpr std::uint32_t kDtRight = 0x2;
inline constexpr std::uint32_t kDtWordBreak = 0x10;
inline constexpr std::uint32_t kDtSingleLine = 0x20;
inline constexpr std::uint32_t kDtCalcRect = 0x400;
inline constexpr std::uint32_t kDtNoPrefix = 0x800;
inline constexpr std::uint32_t kDtPathEllipsis = 0x4000;

// BITMAP, as far as the program reads it.
struct BitmapRecord {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The arguments of CreateFontA, in its order.
struct FontDescription {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint32_t charSet = 0;
    std::uint32_t outputPrecision = 0;
    std::uint32_t clipPrecision = 0;
    std::uint32_t quality = 0;
    std::uint32_t pitchAndFamily = 0;
    std::string face;
};

// A context of the window's client area, with default attributes.
DeviceContext GetDC(WindowHandle window);
// Gives a context of GetDC back to the window it belongs to.
bool ReleaseDC(DeviceContext context);
DeviceContext CreateCompatibleDC(DeviceContext context);
bool DeleteDC(DeviceContext context);

BitmapHandle LoadBitmapA(ModuleHandle instance, const std::string& name);
// Without initial bits.
BitmapHandle CreateBitmap(int width, int height, std::uint32_t planes, std::uint32_t bitsPerPixel);
bool GetObjectA(BitmapHandle bitmap, BitmapRecord& record);
FontHandle CreateFontA(const FontDescription& font);
bool DeleteObject(BitmapHandle bitmap);
bool DeleteObject(FontHandle font);
// Each answers the object that was selected before.
BitmapHandle SelectObject(DeviceContext context, BitmapHandle bitmap);
FontHandle SelectObject(DeviceContext context, FontHandle font);

int SetBkMode(DeviceContext context, int mode);
ColorRef SetTextColor(DeviceContext context, ColorRef color);
ColorRef SetBkColor(DeviceContext context, ColorRef color);

bool BitBlt(DeviceContext target, int x, int y, int width, int height, DeviceContext source,
            int sourceX, int sourceY, std::uint32_t rasterOperation);
// With kDtCalcRect nothing is drawn: rect becomes the measured rectangle.
// Answers the height of the text.
int DrawTextA(DeviceContext context, const std::string& text, Rect& rect, std::uint32_t format);

using OwnedWindowContext = Owned<DeviceContext, ReleaseDC>;
using OwnedMemoryContext = Owned<DeviceContext, DeleteDC>;
using OwnedBitmap = Owned<BitmapHandle, static_cast<bool (*)(BitmapHandle)>(DeleteObject)>;
using OwnedFont = Owned<FontHandle, static_cast<bool (*)(FontHandle)>(DeleteObject)>;

}  // namespace skervo::platform
