#include "ui/status_paint.h"

#include <string>

#include "common/run_state.h"
#include "platform/gdi.h"
#include "ui/draw_bitmap.h"
#include "ui/status_layout.h"
#include "ui/texts.h"

namespace skervo {
namespace {

// The window exists only for a run with a script, but the paint must never
// read past the parameters.
std::string ScriptPath() {
    return runState.Parameters.size() > 1 ? runState.Parameters[1] : std::string();
}

void DrawTextIn(platform::DeviceContext context, const std::string& text, platform::Rect rect,
                std::uint32_t format) {
    platform::DrawTextA(context, text, rect, format);
}

// Black, word-wrapped and centred in its band; a block taller than the band
// starts above it and is cut at its bottom.
void DrawStep(platform::DeviceContext context) {
    platform::Rect measured = layout::kStepBand;
    platform::DrawTextA(context, runState.StepText, measured,
                        platform::kDtCalcRect | layout::kStepFormat);
    platform::Rect place = layout::kStepBand;
    place.top = layout::CentredStepTop(measured.bottom);
    DrawTextIn(context, runState.StepText, place, layout::kStepFormat);
}

}  // namespace

// The pictures come first: the masked drawing of the plug relies on the
// context's default text and background colours.
void PaintStatusWindow(platform::WindowHandle window) {
    const platform::OwnedWindowContext owned(platform::GetDC(window));
    const platform::DeviceContext context = owned.Get();
    DrawBitmap(context, runState.BackgroundBitmap.Get(), 0, 0);
    if (!runState.ConnectionName.empty() || runState.ConnectionUp) {
        DrawBitmap(context, runState.ConnectionBitmap.Get(), layout::kPlugLeft, layout::kPlugTop,
                   layout::kPlugTransparentColor);
    }

    platform::SetBkMode(context, platform::kTransparent);
    platform::SelectObject(context, runState.TextFont.Get());
    platform::SetTextColor(context, layout::kScriptAndPreviousColor);
    DrawTextIn(context, std::string(texts::kScriptLinePrefix) + ScriptPath(), layout::kScriptLine,
               layout::kScriptLineFormat);
    if (!runState.PreviousStepText.empty()) {
        DrawTextIn(context, runState.PreviousStepText, layout::kPreviousStep,
                   layout::kPreviousStepFormat);
    }
    if (!runState.StepText.empty()) {
        platform::SetTextColor(context, layout::kStepColor);
        DrawStep(context);
    }
}

}  // namespace skervo
