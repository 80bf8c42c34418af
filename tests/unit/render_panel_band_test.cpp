#include <gtest/gtest.h>

#include "render/panel.h"

TEST(RenderPanelBand, SixtySquareOverSixtyFourUnitImage) {
    Vertex top[8], middle[8], bottom[8];
    panel_band(0, 60, 60, 16, 64, top);
    panel_band(1, 60, 60, 16, 64, middle);
    panel_band(2, 60, 60, 16, 64, bottom);

    // Columns left to right in pairs, the upper vertex first.
    const float xs[4] = {0, 16, 44, 60};
    const float us[4] = {0, 0.25f, 0.75f, 1};
    const Vertex* bands[3] = {top, middle, bottom};
    const float ys[4] = {0, 16, 44, 60};
    const float vs[4] = {0, 0.25f, 0.75f, 1};
    for (int band = 0; band < 3; band++) {
        for (int i = 0; i < 8; i++) {
            const Vertex& v = bands[band][i];
            int row = band + i % 2;
            EXPECT_FLOAT_EQ(v.x, xs[i / 2]) << "band " << band << " vertex " << i;
            EXPECT_FLOAT_EQ(v.u, us[i / 2]) << "band " << band << " vertex " << i;
            EXPECT_FLOAT_EQ(v.y, ys[row]) << "band " << band << " vertex " << i;
            EXPECT_FLOAT_EQ(v.v, vs[row]) << "band " << band << " vertex " << i;
            EXPECT_EQ(v.z, 0.0f);
        }
    }
    EXPECT_FLOAT_EQ(middle[1].y - middle[0].y, 28);
}

TEST(RenderPanelBand, CutComesFromImageWidthForBothDirections) {
    // A wide panel over a 128-unit image: f = 16 / 128 across and down alike.
    Vertex middle[8];
    panel_band(1, 200, 50, 16, 128, middle);
    EXPECT_FLOAT_EQ(middle[2].u, 0.125f);
    EXPECT_FLOAT_EQ(middle[4].u, 0.875f);
    EXPECT_FLOAT_EQ(middle[0].v, 0.125f);
    EXPECT_FLOAT_EQ(middle[1].v, 0.875f);
    EXPECT_FLOAT_EQ(middle[4].x, 184);
    EXPECT_FLOAT_EQ(middle[1].y, 34);
}
