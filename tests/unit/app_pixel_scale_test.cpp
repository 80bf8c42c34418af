#include <gtest/gtest.h>

#include "app/pixel_scale.h"
#include "app/window_place.h"

TEST(PixelScale, ContentScaleLoweredToWhatFitsTheWorkAreaAndTheWindowMovedInside) {
    const WindowFrame none{0, 0, 0, 0}, frame{10, 40, 10, 10};
    // 100 % where 540 x 960 fits, and 200 % where 1080 x 1920 fits: exactly 1 and 2.
    EXPECT_EQ(pixel_scale_for(1.0f, 1.0f, 1280, 1024, none), 1.0f);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 3840, 2080, frame), 2.0f);
    // A 1920 x 1080 laptop above its taskbar: 125 % keeps 1, 150 % is a 32nd under.
    EXPECT_EQ(pixel_scale_for(1.25f, 1.25f, 1920, 1020, frame), 1.0f);
    EXPECT_EQ(pixel_scale_for(1.5f, 1.5f, 1920, 1008, frame), 31 / 32.0f);
    // A narrow work area limits by its width; uneven axes take the smaller scale.
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 1000, 2200, none), 59 / 32.0f);
    EXPECT_EQ(pixel_scale_for(2.0f, 1.5f, 3840, 2080, none), 1.5f);
    // Unknown facts give 1; tiny and huge screens stay within a quarter and 4.
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 0, 0, none), 1.0f);
    EXPECT_EQ(pixel_scale_for(0.0f, 0.0f, 1280, 1024, none), 1.0f);
    EXPECT_EQ(pixel_scale_for(1.0f, 1.0f, 100, 100, none), 0.25f);
    EXPECT_EQ(pixel_scale_for(6.0f, 6.0f, 15360, 8640, none), 4.0f);
    // Sizes round up, so the layout always fits the window.
    EXPECT_EQ(window_pixels(540, 31 / 32.0f), 524);

    // Inside stays; a frame off the top, or past the bottom, moves in; too big: the top.
    EXPECT_EQ(position_inside(50, 660, 40, 10, 0, 728), 50);
    EXPECT_EQ(position_inside(0, 660, 40, 10, 0, 728), 40);
    EXPECT_EQ(position_inside(200, 660, 40, 10, 0, 728), 58);
    EXPECT_EQ(position_inside(50, 1000, 40, 10, 0, 728), 40);
    // Full screen goes where most of the window is.
    EXPECT_EQ(overlap_area(1700, 100, 540, 960, 1920, 0, 1920, 1080), 320 * 960);
    EXPECT_EQ(overlap_area(1700, 100, 540, 960, 0, 1080, 1920, 1080), 0);
}
