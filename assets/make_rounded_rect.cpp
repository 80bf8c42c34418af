// Draws the panel image at build time: a white rounded rectangle filling a
// square image, with a one-pixel antialiased edge and a transparent outside.
// Usage: make_rounded_rect <out.png> <size> <radius>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

// Signed distance from a pixel centre to the rounded rectangle's edge,
// negative inside.
static float edge_distance(float x, float y, float size, float radius) {
    float half = size * 0.5f;
    float qx = std::fabs(x - half) - (half - radius);
    float qy = std::fabs(y - half) - (half - radius);
    float outside = std::hypot(std::fmax(qx, 0.0f), std::fmax(qy, 0.0f));
    float inside = std::fmin(std::fmax(qx, qy), 0.0f);
    return outside + inside - radius;
}

int main(int argc, char** argv) {
    int size = argc == 4 ? atoi(argv[2]) : 0;
    int radius = argc == 4 ? atoi(argv[3]) : -1;
    if (size < 1 || size > 4096 || radius < 0 || 2 * radius > size) {
        fprintf(stderr, "usage: make_rounded_rect <out.png> <size 1..4096> <radius 0..size/2>\n");
        return 1;
    }
    // White everywhere, so filtering at the edge never pulls in a dark fringe.
    std::vector<unsigned char> pixels((size_t)size * size * 4, 255);
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            float d = edge_distance(x + 0.5f, y + 0.5f, (float)size, (float)radius);
            float coverage = std::fmin(std::fmax(0.5f - d, 0.0f), 1.0f);
            pixels[((size_t)y * size + x) * 4 + 3] = (unsigned char)std::lround(coverage * 255.0f);
        }
    }
    if (!stbi_write_png(argv[1], size, size, 4, pixels.data(), size * 4)) {
        fprintf(stderr, "make_rounded_rect: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
