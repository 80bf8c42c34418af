#include "render/matrix.h"

MatrixState matrices;

Mat4 mat4_identity() {
    Mat4 result = {};
    result.m[0] = result.m[5] = result.m[10] = result.m[15] = 1.0f;
    return result;
}

Mat4 mat4_translation(float x, float y) {
    Mat4 result = mat4_identity();
    result.m[3] = x;
    result.m[7] = y;
    return result;
}

Mat4 mat4_scaling(float sx, float sy) {
    Mat4 result = mat4_identity();
    result.m[0] = sx;
    result.m[5] = sy;
    return result;
}

Mat4 mat4_multiply(const Mat4& a, const Mat4& b) {
    Mat4 result;
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            float sum = 0.0f;
            for (int k = 0; k < 4; k++) sum += a.m[4 * i + k] * b.m[4 * k + j];
            result.m[4 * i + j] = sum;
        }
    }
    return result;
}

Mat4 ortho_projection(float width, float height) {
    Mat4 result = mat4_identity();
    result.m[0] = 2.0f / width;
    result.m[3] = -1.0f;
    result.m[5] = -2.0f / height;
    result.m[7] = 1.0f;
    result.m[10] = -0.2f;
    result.m[11] = -1.0f;
    return result;
}

void matrix_load_identity() {
    matrices.model = mat4_identity();
}

// A push past the last entry would overwrite memory beyond the stack; it is dropped.
void matrix_push() {
    if (matrices.depth == matrix_stack_capacity) return;
    matrices.stack[matrices.depth] = matrices.model;
    matrices.depth++;
}

void matrix_pop() {
    if (matrices.depth == 0) return;
    matrices.depth--;
    matrices.model = matrices.stack[matrices.depth];
}

void matrix_multiply(const Mat4& a) {
    matrices.model = mat4_multiply(matrices.model, a);
}

void matrix_translate(float x, float y) {
    matrix_multiply(mat4_translation(x, y));
}

void matrix_scale(float sx, float sy) {
    matrix_multiply(mat4_scaling(sx, sy));
}
