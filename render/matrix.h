// Row-major 4x4 matrices, the projection and the model-matrix stack.
#pragma once

// Element (i, j) at index 4 * i + j; a translation sits at 3, 7 and 11.
struct Mat4 {
    float m[16];
};

Mat4 mat4_identity();
Mat4 mat4_translation(float x, float y);
Mat4 mat4_scaling(float sx, float sy);
// a x b: b acts first on a vertex.
Mat4 mat4_multiply(const Mat4& a, const Mat4& b);
// Orthographic projection of a W x H area, origin top-left, y down, near 0, far 10.
Mat4 ortho_projection(float width, float height);

constexpr int matrix_stack_capacity = 8;

struct MatrixState {
    Mat4 projection;
    Mat4 model;
    Mat4 stack[matrix_stack_capacity];
    unsigned char depth;
};

extern MatrixState matrices;

void matrix_load_identity();
void matrix_push();
void matrix_pop();
void matrix_multiply(const Mat4& a);
void matrix_translate(float x, float y);
void matrix_scale(float sx, float sy);
