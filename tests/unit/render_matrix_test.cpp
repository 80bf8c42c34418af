#include <gtest/gtest.h>

#include "render/matrix.h"

// Where a matrix takes the point (x, y, 0, 1), as the vertex shader computes it.
struct Point {
    float x, y;
};
static Point apply(const Mat4& a, float x, float y) {
    float px = a.m[0] * x + a.m[1] * y + a.m[3];
    float py = a.m[4] * x + a.m[5] * y + a.m[7];
    float w = a.m[12] * x + a.m[13] * y + a.m[15];
    return {px / w, py / w};
}

TEST(RenderMatrix, ProjectionMapsTheWindowOntoClipSpace) {
    Mat4 p = ortho_projection(540, 960);
    const float rows[16] = {2.0f / 540, 0, 0,     -1, 0, -2.0f / 960, 0, 1,
                            0,          0, -0.2f, -1, 0, 0,           0, 1};
    for (int i = 0; i < 16; i++) EXPECT_FLOAT_EQ(p.m[i], rows[i]) << "element " << i;

    Point top_left = apply(p, 0, 0), bottom_right = apply(p, 540, 960);
    EXPECT_FLOAT_EQ(top_left.x, -1);
    EXPECT_FLOAT_EQ(top_left.y, 1);
    EXPECT_FLOAT_EQ(bottom_right.x, 1);
    EXPECT_FLOAT_EQ(bottom_right.y, -1);
    // z = 0 lies on the near plane.
    EXPECT_FLOAT_EQ(p.m[11], -1);
}

TEST(RenderMatrix, TranslateThenScalePlacesTheUnitQuad) {
    matrix_load_identity();
    matrix_translate(10, 20);
    matrix_scale(30, 40);
    const float corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    const float placed[4][2] = {{10, 20}, {40, 20}, {10, 60}, {40, 60}};
    for (int i = 0; i < 4; i++) {
        Point p = apply(matrices.model, corners[i][0], corners[i][1]);
        EXPECT_FLOAT_EQ(p.x, placed[i][0]) << "corner " << i;
        EXPECT_FLOAT_EQ(p.y, placed[i][1]) << "corner " << i;
    }

    // The argument acts first: scaling then translating moves by the scaled amount.
    matrix_load_identity();
    matrix_scale(2, 3);
    matrix_translate(10, 20);
    Point p = apply(matrices.model, 0, 0);
    EXPECT_FLOAT_EQ(p.x, 20);
    EXPECT_FLOAT_EQ(p.y, 60);
}

TEST(RenderMatrix, StackRestoresInOrderAndIgnoresOverAndUnderflow) {
    matrices.depth = 0;
    matrix_load_identity();

    // A pop on the empty stack leaves the model matrix alone.
    matrix_translate(5, 6);
    matrix_pop();
    EXPECT_FLOAT_EQ(matrices.model.m[3], 5);
    EXPECT_EQ(matrices.depth, 0);

    // Entry n holds a translation by n; the ninth push finds the stack full.
    for (int n = 0; n <= matrix_stack_capacity; n++) {
        matrices.model = mat4_translation((float)n, 0);
        matrix_push();
    }
    EXPECT_EQ(matrices.depth, matrix_stack_capacity);
    for (int n = matrix_stack_capacity - 1; n >= 0; n--) {
        matrix_pop();
        EXPECT_FLOAT_EQ(matrices.model.m[3], (float)n);
    }
    EXPECT_EQ(matrices.depth, 0);
    matrix_pop();
    EXPECT_FLOAT_EQ(matrices.model.m[3], 0);
    EXPECT_EQ(matrices.depth, 0);
}
