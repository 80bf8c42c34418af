// Draws Tessarin's icon at build time: a cream tile with a dark brown Sudoku
// grid, a few givens in brown and the solver's digits in blue-violet as
// squares. Lines sit on whole pixels at every size, so small icons stay sharp.
// Usage: make_icon <out.ico>          every size from 16 to 256 in one icon
//        make_icon <out.png> <size>   one size as a PNG
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

struct Colour {
    uint8_t r, g, b;
};
constexpr Colour cream{254, 235, 193};
constexpr Colour ink{61, 37, 1};
constexpr Colour solver_ink{64, 64, 192};
// Cell lines half way between ink and cream, so the blocks stand out.
constexpr Colour cell_line{158, 136, 97};

// Cells as the solver leaves them part way through: givens and its digits.
constexpr const char* board = "g.ss.g.s."
                              "s.g..s.g."
                              ".s..g..s."
                              "..g.s..g."
                              ".s.g.s.g."
                              "g..s..g.."
                              ".g.......";

struct Picture {
    int size;
    std::vector<uint8_t> rgba;
};

static void fill(Picture* p, int x0, int y0, int x1, int y1, Colour c) {
    for (int y = y0; y < y1; y++) {
        for (int x = x0; x < x1; x++) {
            uint8_t* px = &p->rgba[((size_t)y * p->size + x) * 4];
            px[0] = c.r, px[1] = c.g, px[2] = c.b;
        }
    }
}

// Signed distance from a pixel centre to a rounded square's edge, negative inside.
static float edge_distance(float x, float y, float size, float radius) {
    float half = size * 0.5f;
    float qx = std::fabs(x - half) - (half - radius);
    float qy = std::fabs(y - half) - (half - radius);
    float outside = std::hypot(std::fmax(qx, 0.0f), std::fmax(qy, 0.0f));
    return outside + std::fmin(std::fmax(qx, qy), 0.0f) - radius;
}

static Picture draw_icon(int size) {
    Picture p{size, std::vector<uint8_t>((size_t)size * size * 4, 0)};
    // The tile: cream, rounded, an antialiased edge on a transparent outside.
    float radius = size * 0.16f;
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            float d = edge_distance(x + 0.5f, y + 0.5f, (float)size, radius);
            float coverage = std::fmin(std::fmax(0.5f - d, 0.0f), 1.0f);
            uint8_t* px = &p.rgba[((size_t)y * size + x) * 4];
            px[0] = cream.r, px[1] = cream.g, px[2] = cream.b;
            px[3] = (uint8_t)std::lround(coverage * 255.0f);
        }
    }
    int margin = size / 8;
    int span = size - 2 * margin;
    int thick = size >= 48 ? size / 48 + 1 : 1;
    // Below 32 pixels the cells are too small to show: blocks only, the
    // middle one filled by the solver.
    bool cells = size >= 32;
    int lines = cells ? 9 : 3;
    auto line_at = [&](int k) { return margin + (int)std::lround((double)k * span / lines); };
    if (cells) {
        int mark_inset = std::max(1, (int)std::lround(span / 9.0 * 0.22));
        for (int cell = 0; cell < (int)strlen(board); cell++) {
            char c = board[cell];
            if (c == '.') continue;
            int col = cell % 9, row = cell / 9;
            fill(&p, line_at(col) + mark_inset, line_at(row) + mark_inset,
                 line_at(col + 1) - mark_inset + 1, line_at(row + 1) - mark_inset + 1,
                 c == 'g' ? ink : solver_ink);
        }
    } else {
        fill(&p, line_at(1) + 1, line_at(1) + 1, line_at(2), line_at(2), solver_ink);
    }
    // Cell lines first, so the block lines cross over them.
    for (int pass = 0; pass < 2; pass++) {
        for (int k = 0; k <= lines; k++) {
            bool block = !cells || k % 3 == 0;
            if (block != (pass == 1)) continue;
            int width = block ? thick : std::max(1, thick / 3);
            int at = line_at(k) - (block ? width / 2 : 0);
            Colour colour = block ? ink : cell_line;
            fill(&p, at, line_at(0), at + width, line_at(lines) + 1, colour);
            fill(&p, line_at(0), at, line_at(lines) + 1, at + width, colour);
        }
    }
    return p;
}

static void put16(std::vector<uint8_t>* out, unsigned v) {
    out->push_back((uint8_t)v);
    out->push_back((uint8_t)(v >> 8));
}

static void put32(std::vector<uint8_t>* out, unsigned v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// An icon entry as Windows has read it since Windows 95: a 32-bit BGRA
// bitmap, bottom row first, at double height, then the 1-bit mask of
// transparent pixels for programs that ignore alpha.
static std::vector<uint8_t> bitmap_entry(const Picture& p) {
    int n = p.size;
    int mask_row = (n + 31) / 32 * 4;
    std::vector<uint8_t> out;
    put32(&out, 40);
    put32(&out, (unsigned)n);
    put32(&out, (unsigned)(2 * n));
    put16(&out, 1);
    put16(&out, 32);
    put32(&out, 0);
    put32(&out, (unsigned)(n * n * 4 + mask_row * n));
    for (int i = 0; i < 4; i++) put32(&out, 0);
    for (int y = n - 1; y >= 0; y--) {
        for (int x = 0; x < n; x++) {
            const uint8_t* px = &p.rgba[((size_t)y * n + x) * 4];
            out.insert(out.end(), {px[2], px[1], px[0], px[3]});
        }
    }
    for (int y = n - 1; y >= 0; y--) {
        std::vector<uint8_t> row((size_t)mask_row, 0);
        for (int x = 0; x < n; x++)
            if (p.rgba[((size_t)y * n + x) * 4 + 3] == 0) row[x / 8] |= (uint8_t)(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// The 256-pixel entry as a PNG, which Windows Vista and later read.
static std::vector<uint8_t> png_entry(const Picture& p) {
    int length = 0;
    unsigned char* png =
        stbi_write_png_to_mem(p.rgba.data(), p.size * 4, p.size, p.size, 4, &length);
    std::vector<uint8_t> out(png, png + (png ? length : 0));
    free(png);
    return out;
}

static bool write_ico(const char* path) {
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 128, 256};
    const int count = (int)(sizeof(sizes) / sizeof(sizes[0]));
    std::vector<std::vector<uint8_t>> entries;
    for (int size : sizes) {
        Picture p = draw_icon(size);
        entries.push_back(size == 256 ? png_entry(p) : bitmap_entry(p));
        if (entries.back().empty()) return false;
    }
    std::vector<uint8_t> out;
    put16(&out, 0);
    put16(&out, 1);
    put16(&out, (unsigned)count);
    size_t offset = 6 + 16 * (size_t)count;
    for (int i = 0; i < count; i++) {
        out.push_back((uint8_t)(sizes[i] & 255)); // 0 means 256
        out.push_back((uint8_t)(sizes[i] & 255));
        put16(&out, 0);
        put16(&out, 1);
        put16(&out, 32);
        put32(&out, (unsigned)entries[i].size());
        put32(&out, (unsigned)offset);
        offset += entries[i].size();
    }
    for (const auto& entry : entries) out.insert(out.end(), entry.begin(), entry.end());
    FILE* file = fopen(path, "wb");
    if (!file) return false;
    bool written = fwrite(out.data(), 1, out.size(), file) == out.size();
    return fclose(file) == 0 && written;
}

int main(int argc, char** argv) {
    bool ico = argc == 2;
    int size = argc == 3 ? atoi(argv[2]) : 0;
    if (!ico && (size < 16 || size > 1024)) {
        fprintf(stderr, "usage: make_icon <out.ico> | make_icon <out.png> <size 16..1024>\n");
        return 1;
    }
    bool written = false;
    if (ico) {
        written = write_ico(argv[1]);
    } else {
        Picture p = draw_icon(size);
        written = stbi_write_png(argv[1], size, size, 4, p.rgba.data(), size * 4) != 0;
    }
    if (!written) {
        fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
