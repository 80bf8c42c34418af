#include <gtest/gtest.h>

#include "app/pixel_scale.h"

TEST(PixelScale, DoubleOnlyWhereAskedForAndTheWindowFits) {
    // A 4K laptop at 200 %: 3840 x 2160 with a taskbar.
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 3840, 2080), 2);
    EXPECT_EQ(pixel_scale_for(3.0f, 3.0f, 3840, 2080), 2);
    // Asked for less than double.
    EXPECT_EQ(pixel_scale_for(1.0f, 1.0f, 3840, 2080), 1);
    EXPECT_EQ(pixel_scale_for(1.99f, 2.0f, 3840, 2080), 1);
    EXPECT_EQ(pixel_scale_for(2.0f, 1.5f, 3840, 2080), 1);
    // Double asked for, but 1080 x 1920 and the frame do not fit.
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 1280, 1024), 1);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 2560, 1440), 1);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 1112, 2016), 2);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 1111, 2016), 1);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 1112, 2015), 1);
    // No monitor facts at all (a failed query leaves zeros).
    EXPECT_EQ(pixel_scale_for(0.0f, 0.0f, 0, 0), 1);
    EXPECT_EQ(pixel_scale_for(2.0f, 2.0f, 0, 0), 1);
}
