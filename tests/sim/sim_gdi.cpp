// Drawing on the simulated desktop: objects are counted so that leaks show,
// and every copy and text is recorded instead of drawn.
#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/gdi.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {
namespace {

using sim::desktop;

// The measure of every text: characters of 6 pixels, lines of 12, wrapped
// after as many whole characters as fit the rectangle's width.
constexpr int kCharacterWidth = 6;
constexpr int kLineHeight = 12;

std::uintptr_t Add(sim::GdiObject object) {
    desktop.gdiObjects[desktop.nextHandle] = std::move(object);
    return desktop.nextHandle++;
}

DeviceContext AddContext(std::uintptr_t window) {
    desktop.deviceContexts[desktop.nextHandle] = {.window = window};
    return DeviceContext{desktop.nextHandle++};
}

sim::ContextState* Find(DeviceContext context) {
    const auto found = desktop.deviceContexts.find(static_cast<std::uintptr_t>(context));
    return found != desktop.deviceContexts.end() ? &found->second : nullptr;
}

std::string Content(std::uintptr_t object) {
    const auto found = desktop.gdiObjects.find(object);
    return found != desktop.gdiObjects.end() ? found->second.content : "";
}

std::string TargetName(const sim::ContextState& context) {
    return context.window ? "window" : Content(context.bitmap);
}

std::uintptr_t Select(DeviceContext context, std::uintptr_t object,
                      std::uintptr_t sim::ContextState::*slot) {
    sim::ContextState* found = Find(context);
    return found ? std::exchange(found->*slot, object) : 0;
}

// As the real one, an object still selected into a context cannot be deleted.
bool Delete(std::uintptr_t object) {
    for (const auto& [handle, context] : desktop.deviceContexts) {
        if (context.bitmap == object || context.font == object) {
            return false;
        }
    }
    return desktop.gdiObjects.erase(object) == 1;
}

int MeasuredLines(const std::string& text, const Rect& rect, std::uint32_t format) {
    if (format & kDtSingleLine) {
        return 1;
    }
    const int perLine = std::max(1, (rect.right - rect.left) / kCharacterWidth);
    return std::max(1, (static_cast<int>(text.size()) + perLine - 1) / perLine);
}

// A copy into a monochrome bitmap makes a mask of the source: white where
// the source has the background colour of its context.
void CopyInto(const sim::ContextState& target, const sim::ContextState& source) {
    const auto mask = desktop.gdiObjects.find(target.bitmap);
    if (mask != desktop.gdiObjects.end() && mask->second.monochrome) {
        char key[16];
        std::snprintf(key, sizeof key, "%06X", source.backgroundColor);
        mask->second.content = Content(source.bitmap) + " mask " + key;
    }
}

}  // namespace

DeviceContext GetDC(WindowHandle window) {
    const auto found = desktop.windows.find(static_cast<std::uintptr_t>(window));
    return found != desktop.windows.end() && found->second.alive ? AddContext(found->first)
                                                                 : DeviceContext{};
}

namespace {

// Each kind of context goes back its own way.
bool GiveBack(DeviceContext context, bool windowContext) {
    const auto found = desktop.deviceContexts.find(static_cast<std::uintptr_t>(context));
    if (found == desktop.deviceContexts.end() || (found->second.window != 0) != windowContext) {
        return false;
    }
    desktop.deviceContexts.erase(found);
    return true;
}

}  // namespace

bool ReleaseDC(DeviceContext context) {
    return GiveBack(context, true);
}

DeviceContext CreateCompatibleDC(DeviceContext) {
    return AddContext(0);
}

bool DeleteDC(DeviceContext context) {
    return GiveBack(context, false);
}

BitmapHandle LoadBitmapA(ModuleHandle, const std::string& name) {
    const auto found = desktop.bitmapResources.find(name);
    return found != desktop.bitmapResources.end()
               ? BitmapHandle{Add({.content = name, .size = found->second})}
               : BitmapHandle{};
}

BitmapHandle CreateBitmap(int width, int height, std::uint32_t planes, std::uint32_t bitsPerPixel) {
    return BitmapHandle{
        Add({.size = {width, height}, .monochrome = planes == 1 && bitsPerPixel == 1})};
}

bool GetObjectA(BitmapHandle bitmap, BitmapRecord& record) {
    const auto found = desktop.gdiObjects.find(static_cast<std::uintptr_t>(bitmap));
    if (found != desktop.gdiObjects.end()) {
        record = found->second.size;
    }
    return found != desktop.gdiObjects.end();
}

FontHandle CreateFontA(const FontDescription& font) {
    return FontHandle{Add({.content = font.face})};
}

bool DeleteObject(BitmapHandle bitmap) {
    return Delete(static_cast<std::uintptr_t>(bitmap));
}

bool DeleteObject(FontHandle font) {
    return Delete(static_cast<std::uintptr_t>(font));
}

BitmapHandle SelectObject(DeviceContext context, BitmapHandle bitmap) {
    return BitmapHandle{
        Select(context, static_cast<std::uintptr_t>(bitmap), &sim::ContextState::bitmap)};
}

FontHandle SelectObject(DeviceContext context, FontHandle font) {
    return FontHandle{Select(context, static_cast<std::uintptr_t>(font), &sim::ContextState::font)};
}

int SetBkMode(DeviceContext context, int mode) {
    sim::ContextState* found = Find(context);
    return found ? std::exchange(found->transparentText, mode == kTransparent) + 1 : 0;
}

ColorRef SetTextColor(DeviceContext context, ColorRef color) {
    sim::ContextState* found = Find(context);
    return found ? std::exchange(found->textColor, color) : 0xFFFFFFFF;
}

ColorRef SetBkColor(DeviceContext context, ColorRef color) {
    sim::ContextState* found = Find(context);
    return found ? std::exchange(found->backgroundColor, color) : 0xFFFFFFFF;
}

bool BitBlt(DeviceContext target, int x, int y, int width, int height, DeviceContext source, int,
            int, std::uint32_t rasterOperation) {
    const sim::ContextState* into = Find(target);
    const sim::ContextState* from = Find(source);
    if (!into || !from) {
        return false;
    }
    desktop.drawings.push_back({.target = TargetName(*into),
                                .source = Content(from->bitmap),
                                .place = {x, y, x + width, y + height},
                                .operation = rasterOperation,
                                .textColor = into->textColor});
    if (rasterOperation == kSrcCopy) {
        CopyInto(*into, *from);
    }
    return true;
}

int DrawTextA(DeviceContext context, const std::string& text, Rect& rect, std::uint32_t format) {
    const sim::ContextState* found = Find(context);
    if (!found) {
        return 0;
    }
    const int height = MeasuredLines(text, rect, format) * kLineHeight;
    if (format & kDtCalcRect) {
        rect.bottom = rect.top + height;
    } else {
        desktop.drawings.push_back({.target = TargetName(*found),
                                    .source = text,
                                    .place = rect,
                                    .operation = format,
                                    .textColor = found->textColor,
                                    .transparentText = found->transparentText,
                                    .font = Content(found->font)});
    }
    return height;
}

}  // namespace skervo::platform
