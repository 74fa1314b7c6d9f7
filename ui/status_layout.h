#pragma once
// Where things lie on the status window's surface, in pixels from its
// top-left corner. Plain arithmetic, so that it can be checked without a screen.
#include <cstdint>

#include "platform/gdi.h"
#include "platform/user.h"

namespace skervo::layout {

inline constexpr int kPlugLeft = 149;
inline constexpr int kPlugTop = 4;
inline constexpr platform::ColorRef kPlugTransparentColor = platform::Rgb(255, 0, 255);

inline constexpr platform::ColorRef kScriptAndPreviousColor = platform::Rgb(22, 106, 238);
inline constexpr platform::ColorRef kStepColor = platform::Rgb(0, 0, 0);

inline constexpr platform::Rect kScriptLine{5, 84, 165, 96};
inline constexpr platform::Rect kPreviousStep{5, 72, 162, 84};
// The band the current step is centred in.
inline constexpr platform::Rect kStepBand{5, 21, 196, 72};

inline constexpr std::uint32_t kScriptLineFormat = platform::kDtRight | platform::kDtSingleLine |
                                                   platform::kDtNoPrefix |
                                                   platform::kDtPathEllipsis;
inline constexpr std::uint32_t kPreviousStepFormat =
    platform::kDtSingleLine | platform::kDtNoPrefix | platform::kDtPathEllipsis;
inline constexpr std::uint32_t kStepFormat =
    platform::kDtWordBreak | platform::kDtNoPrefix | platform::kDtPathEllipsis;

// The top of the step block whose measured bottom is measuredBottom when
// its top is the band's: centred in the band, or starting above it when
// the block is taller than the band.
int CentredStepTop(int measuredBottom);

enum class ClickTarget { CloseCross, HideButton, Elsewhere };

ClickTarget ClassifyClick(std::uint16_t x, std::uint16_t y);

}  // namespace skervo::layout
