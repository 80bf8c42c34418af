#include <gtest/gtest.h>

#include "game/screen/layout.h"

namespace {

void expect_point(Vec2 actual, float x, float y, const char* what) {
    EXPECT_EQ(actual.x, x) << what;
    EXPECT_EQ(actual.y, y) << what;
}

TEST(Layout, InitialWindow) {
    GameLayout layout;
    compute_layout(540, 960, &layout);
    expect_point(layout.title_centre, 270, 84, "title");
    expect_point(layout.grid_top_left, 45, 175, "grid");
    expect_point(layout.cell_centres[0], 70, 200, "cell 0");
    expect_point(layout.cell_centres[8], 470, 200, "cell 8");
    expect_point(layout.cell_centres[9], 70, 250, "cell 9");
    expect_point(layout.cell_centres[40], 270, 400, "cell 40");
    expect_point(layout.cell_centres[80], 470, 600, "cell 80");
    const float palette[9][2] = {{205, 675}, {270, 675}, {335, 675}, {205, 740}, {270, 740},
                                 {335, 740}, {205, 805}, {270, 805}, {335, 805}};
    for (int k = 0; k < 9; k++) {
        expect_point(layout.palette_centres[k], palette[k][0], palette[k][1], "palette");
    }
    expect_point(layout.clear_centre, 100, 675, "clear");
    expect_point(layout.solve_centre, 440, 675, "solve");
    expect_point(layout.eraser_centre, 400, 805, "eraser");

    // The cells' boxes tile the drawn grid exactly, and the buttons' boxes
    // keep clear of it and of each other.
    Vec2 grid_end = {layout.grid_top_left.x + grid_side, layout.grid_top_left.y + grid_side};
    expect_point(grid_end, 495, 625, "grid bottom-right");
    expect_point(
        {layout.cell_centres[80].x + cell_size / 2, layout.cell_centres[80].y + cell_size / 2},
        grid_end.x, grid_end.y, "cell 80 bottom-right");
    EXPECT_GT(layout.palette_centres[0].y - small_button_size.y / 2, grid_end.y);
    EXPECT_LT(layout.clear_centre.x + wide_button_hit_size.x / 2,
              layout.palette_centres[0].x - small_button_size.x / 2);
    EXPECT_GT(layout.solve_centre.x - wide_button_hit_size.x / 2,
              layout.palette_centres[2].x + small_button_size.x / 2);
    EXPECT_GT(layout.eraser_centre.x - small_button_size.x / 2,
              layout.palette_centres[8].x + small_button_size.x / 2);
}

TEST(Layout, OddSizesUseTheIntegerHalves) {
    GameLayout layout;
    // Halves 270 and 400, not 270.5 and 400.5.
    compute_layout(541, 801, &layout);
    expect_point(layout.title_centre, 270, 4, "title");
    expect_point(layout.grid_top_left, 45, 95, "grid");
    expect_point(layout.cell_centres[0], 70, 120, "cell 0");
    expect_point(layout.cell_centres[80], 470, 520, "cell 80");
    expect_point(layout.palette_centres[0], 205, 595, "palette 1");
    expect_point(layout.palette_centres[8], 335, 725, "palette 9");
    expect_point(layout.clear_centre, 100, 595, "clear");
    expect_point(layout.solve_centre, 440, 595, "solve");
    expect_point(layout.eraser_centre, 400, 725, "eraser");

    // A window smaller than the screen puts elements at negative positions.
    compute_layout(1, 1, &layout);
    expect_point(layout.title_centre, 0, -396, "title of a 1 x 1 area");
    expect_point(layout.cell_centres[0], -200, -280, "cell 0 of a 1 x 1 area");
    expect_point(layout.eraser_centre, 130, 325, "eraser of a 1 x 1 area");
}

} // namespace
