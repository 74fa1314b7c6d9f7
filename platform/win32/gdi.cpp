// Device contexts, bitmaps, fonts and texts, forwarded to the real functions.
#include "platform/gdi.h"

#include <windows.h>

#include "platform/win32/native.h"

namespace p = skervo::platform;
static_assert(p::Rgb(22, 106, 238) == RGB(22, 106, 238));
static_assert(p::kTransparent == TRANSPARENT);
static_assert(p::kSrcCopy == SRCCOPY && p::kSrcInvert == SRCINVERT && p::kSrcAnd == SRCAND);
static_assert(p::kDtRight == DT_RIGHT && p::kDtWordBreak == DT_WORDBREAK);
static_assert(p::kDtSingleLine == DT_SINGLELINE && p::kDtCalcRect == DT_CALCRECT);
static_assert(p::kDtNoPrefix == DT_NOPREFIX && p::kDtPathEllipsis == DT_PATH_ELLIPSIS);

namespace skervo::platform {
DeviceContext GetDC(WindowHandle window) {
    return FromNative<DeviceContext>(::GetDC(ToNative(window)));
}

bool ReleaseDC(DeviceContext context) {
    return ::ReleaseDC(::WindowFromDC(ToNative(context)), ToNative(context)) != 0;
}

DeviceContext CreateCompatibleDC(DeviceContext context) {
    return FromNative<DeviceContext>(::CreateCompatibleDC(ToNative(context)));
}

bool DeleteDC(DeviceContext context) {
    return ::DeleteDC(ToNative(context)) != FALSE;
}

BitmapHandle LoadBitmapA(ModuleHandle instance, const std::string& name) {
    return FromNative<BitmapHandle>(::LoadBitmapA(ToNative(instance), name.c_str()));
}

BitmapHandle CreateBitmap(int width, int height, std::uint32_t planes, std::uint32_t bitsPerPixel) {
    return FromNative<BitmapHandle>(::CreateBitmap(width, height, planes, bitsPerPixel, nullptr));
}

bool GetObjectA(BitmapHandle bitmap, BitmapRecord& record) {
    BITMAP native{};
    if (::GetObjectA(ToNative(bitmap), sizeof native, &native) == 0) {
        return false;
    }
    record = {native.bmWidth, native.bmHeight};
    return true;
}

FontHandle CreateFontA(const FontDescription& font) {
    return FromNative<FontHandle>(::CreateFontA(
        font.height, font.width, font.escapement, font.orientation, font.weight, font.italic,
        font.underline, font.strikeOut, font.charSet, font.outputPrecision, font.clipPrecision,
        font.quality, font.pitchAndFamily, font.face.c_str()));
}

bool DeleteObject(BitmapHandle bitmap) {
    return ::DeleteObject(ToNative(bitmap)) != FALSE;
}

bool DeleteObject(FontHandle font) {
    return ::DeleteObject(ToNative(font)) != FALSE;
}

BitmapHandle SelectObject(DeviceContext context, BitmapHandle bitmap) {
    return FromNative<BitmapHandle>(
        static_cast<HBITMAP>(::SelectObject(ToNative(context), ToNative(bitmap))));
}

FontHandle SelectObject(DeviceContext context, FontHandle font) {
    return FromNative<FontHandle>(
        static_cast<HFONT>(::SelectObject(ToNative(context), ToNative(font))));
}

int SetBkMode(DeviceContext context, int mode) {
    return ::SetBkMode(ToNative(context), mode);
}

ColorRef SetTextColor(DeviceContext context, ColorRef color) {
    return ::SetTextColor(ToNative(context), color);
}

ColorRef SetBkColor(DeviceContext context, ColorRef color) {
    return ::SetBkColor(ToNative(context), color);
}

bool BitBlt(DeviceContext target, int x, int y, int width, int height, DeviceContext source,
            int sourceX, int sourceY, std::uint32_t rasterOperation) {
    return ::BitBlt(ToNative(target), x, y, width, height, ToNative(source), sourceX, sourceY,
                    rasterOperation) != FALSE;
}

int DrawTextA(DeviceContext context, const std::string& text, Rect& rect, std::uint32_t format) {
    RECT native{rect.left, rect.top, rect.right, rect.bottom};
    const int height = ::DrawTextA(ToNative(context), text.c_str(), static_cast<int>(text.size()),
                                   &native, format);
    rect = {native.left, native.top, native.right, native.bottom};
    return height;
}

}  // namespace skervo::platform
