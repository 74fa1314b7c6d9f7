// Where a click lands on the status window, and where the step block starts.
#include "ui/status_layout.h"

#include <gtest/gtest.h>

using skervo::layout::ClassifyClick;
using skervo::layout::ClickTarget;

TEST(StatusLayoutTest, ClicksFindTheButtonsOnlyWithinTheirEdges) {
    const struct {
        std::uint16_t x, y;
        ClickTarget target;
    } cases[] = {
        {182, 5, ClickTarget::CloseCross},    {193, 17, ClickTarget::CloseCross},
        {181, 10, ClickTarget::Elsewhere},    {194, 10, ClickTarget::Elsewhere},
        {185, 4, ClickTarget::Elsewhere},     {185, 18, ClickTarget::Elsewhere},
        {165, 5, ClickTarget::HideButton},    {179, 17, ClickTarget::HideButton},
        {164, 10, ClickTarget::Elsewhere},    {172, 4, ClickTarget::Elsewhere},
        {100, 50, ClickTarget::Elsewhere},    {0, 0, ClickTarget::Elsewhere},
        {185, 65535, ClickTarget::Elsewhere},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyClick(c.x, c.y), c.target) << c.x << ", " << c.y;
    }
}

TEST(StatusLayoutTest, TheStepBlockIsCentredInItsBandOrStartsAboveIt) {
    const struct {
        int blockHeight;
        int top;
    } cases[] = {
        {12, 40},            // one line
        {24, 34}, {51, 21},  // as tall as the band
        {52, 21},            // half a pixel above rounds toward the band
        {60, 17},            // five lines start above the band
        {0, 46},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(skervo::layout::CentredStepTop(21 + c.blockHeight), c.top) << c.blockHeight;
    }
}
