#include "ui/status_layout.h"

namespace skervo::layout {
namespace {

// Both buttons share the height of the title band's controls.
constexpr std::uint16_t kButtonTop = 5;
constexpr std::uint16_t kButtonBottom = 17;
constexpr std::uint16_t kHideLeft = 165;
constexpr std::uint16_t kHideRight = 179;
constexpr std::uint16_t kCloseLeft = 182;
constexpr std::uint16_t kCloseRight = 193;

bool Within(std::uint16_t value, std::uint16_t first, std::uint16_t last) {
    return first <= value && value <= last;
}

}  // namespace

int CentredStepTop(int measuredBottom) {
    // Integer division truncates toward zero, also for a block taller than the band.
    return kStepBand.top + (kStepBand.bottom - measuredBottom) / 2;
}

ClickTarget ClassifyClick(std::uint16_t x, std::uint16_t y) {
    if (!Within(y, kButtonTop, kButtonBottom)) {
        return ClickTarget::Elsewhere;
    }
    if (Within(x, kCloseLeft, kCloseRight)) {
        return ClickTarget::CloseCross;
    }
    if (Within(x, kHideLeft, kHideRight)) {
        return ClickTarget::HideButton;
    }
    return ClickTarget::Elsewhere;
}

}  // namespace skervo::layout
