#include <gtest/gtest.h>

#include "app/pixel_scale.h"

TEST(PixelScale, ContentScaleLoweredToWhatFitsTheWorkArea) {
    const WindowFrame none{0, 0, 0, 0};
    // 100 % where 540 x 960 fits, and 200 % where 1080 x 1920 fits: exactly 1 and 2.
    EXPECT_EQ(pixel_scale_for(1.0f, 1.0f, 1280, 1024, none), 1.0f);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 2400, 2200, none), 2.0f);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 3840, 2080, {16, 62, 16, 16}), 2.0f);
    // A 1920 x 1080 laptop above its taskbar: 125 % keeps 1, 150 % comes out
    // one step under 1, not a coarse step lower.
    EXPECT_EQ(pixel_scale_for(1.25f, 1.25f, 1920, 1020, {10, 39, 10, 10}), 1.0f);
    EXPECT_EQ(pixel_scale_for(1.5f, 1.5f, 1920, 1008, {12, 47, 12, 12}), 31 / 32.0f);
    // Small screens at 100 %; 200 % on 2880 x 1800; 300 % on a 4K screen.
    EXPECT_EQ(pixel_scale_for(1.0f, 1.0f, 1366, 728, {8, 31, 8, 8}), 22 / 32.0f);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 2880, 1720, {16, 62, 16, 16}), 54 / 32.0f);
    EXPECT_EQ(pixel_scale_for(3.0f, 3.0f, 3840, 2080, none), 69 / 32.0f);
    // The narrower side limits too; uneven axes take the smaller scale.
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 1000, 2200, none), 59 / 32.0f);
    EXPECT_EQ(pixel_scale_for(2.0f, 1.5f, 3840, 2080, none), 1.5f);
    // Bounds: unknown facts give 1, tiny and huge screens stay within reason.
    EXPECT_EQ(pixel_scale_for(0.0f, 0.0f, 0, 0, none), 1.0f);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 0, 0, none), 1.0f);
    EXPECT_EQ(pixel_scale_for(0.0f, 0.0f, 1280, 1024, none), 1.0f);
    EXPECT_EQ(pixel_scale_for(1.0f, 1.0f, 100, 100, none), 0.25f);
    EXPECT_EQ(pixel_scale_for(6.0f, 6.0f, 15360, 8640, none), 4.0f);

    // The window's size at a scale rounds up, so the layout always fits in it.
    EXPECT_EQ(window_pixels(540, 1.5f), 810);
    EXPECT_EQ(window_pixels(540, 31 / 32.0f), 524);
    EXPECT_EQ(window_pixels(960, 22 / 32.0f), 660);
}

TEST(PixelScale, WindowMovedInsideTheWorkArea) {
    // Inside already: it stays.
    EXPECT_EQ(position_inside(100, 540, 8, 8, 0, 1280), 100);
    // Its frame off the top or the left edge; past the bottom or right edge.
    EXPECT_EQ(position_inside(0, 660, 31, 8, 0, 728), 31);
    EXPECT_EQ(position_inside(26, 660, 31, 8, 0, 728), 31);
    EXPECT_EQ(position_inside(200, 660, 31, 8, 0, 728), 60);
    EXPECT_EQ(position_inside(3000, 540, 8, 8, 1280, 1920), 2652);
    // Too big to fit: the start wins, so the title bar stays reachable.
    EXPECT_EQ(position_inside(50, 1000, 31, 8, 0, 728), 31);
}
