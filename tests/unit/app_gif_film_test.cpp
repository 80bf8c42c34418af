// The search's film as giflib reads it back: frames put over each other give
// the start, then the board after each frame's changes, outlined where the
// last one was; its length and times follow the pace.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "app/gif_film.h"

namespace {

constexpr int side = 4, margin = 2, width = 2 * margin + 9 * (side + 1);

// Each sheet cell a colour of its own: the digit, given or not, outlined or not.
uint32_t colour_of(int digit, bool given, bool outlined) {
    return (uint32_t)(digit * 20) << 16 | (given ? 200u : 100u) << 8 | (outlined ? 77u : 33u);
}

std::vector<uint8_t> sheet(bool outlined, CellSheets& s) {
    std::vector<uint8_t> rgba(4 * width * width, 0);
    for (int k = 0; k < 9; k++) s.cell_left[k] = s.cell_top[k] = margin + k * (side + 1) + 1;
    for (int cell = 0; cell < 81; cell++) {
        bool digit_row = cell < 18;
        int digit = digit_row ? cell % 9 + 1 : 0;
        uint32_t colour = colour_of(digit, cell < 9, outlined);
        for (int y = 0; y < side; y++)
            for (int x = 0; x < side; x++) {
                uint8_t* p =
                    &rgba[4 * ((s.cell_top[cell / 9] + y) * width + s.cell_left[cell % 9] + x)];
                p[0] = (uint8_t)(colour >> 16), p[1] = (uint8_t)(colour >> 8),
                p[2] = (uint8_t)colour;
            }
    }
    return rgba;
}

struct Bytes {
    const uint8_t* data;
    int at, length;
};

int read_bytes(GifFileType* gif, GifByteType* out, int size) {
    Bytes* bytes = (Bytes*)gif->UserData;
    size = std::min(size, bytes->length - bytes->at);
    memcpy(out, bytes->data + bytes->at, (size_t)size);
    bytes->at += size;
    return size;
}

// The colour each cell shows on the canvas.
std::vector<uint32_t> cells_shown(const std::vector<uint32_t>& canvas, const CellSheets& s) {
    std::vector<uint32_t> out;
    for (int cell = 0; cell < 81; cell++)
        out.push_back(canvas[s.cell_top[cell / 9] * width + s.cell_left[cell % 9]]);
    return out;
}

} // namespace

TEST(GifFilm, FramesRebuildTheBoardAndKeepThePace) {
    EXPECT_EQ(film_frame_count(100, 10), 101u);
    EXPECT_EQ(film_frame_count(10000, 1000), 502u); // 50 frames a second at most
    EXPECT_EQ(film_frame_count(5000, 50), film_most_frames);
    EXPECT_EQ(film_frame_position(2999, 3000, 5000), 5000u);

    CellSheets s = {};
    std::vector<uint8_t> plain = sheet(false, s), outlined = sheet(true, s);
    s.plain = plain.data(), s.outlined = outlined.data(), s.width = s.height = width;
    s.cell_side = side;
    uint8_t start[81] = {}, given[81] = {}, board[81];
    start[0] = 5, given[0] = 1, start[80] = 9, given[80] = 1;
    memcpy(board, start, 81);
    std::vector<Change> changes;
    std::mt19937 random(7);
    for (int k = 0; k < 5000; k++) {
        int cell = 1 + (int)(random() % 79), after = (int)(random() % 10);
        changes.push_back(make_change(cell, board[cell], after));
        board[cell] = (uint8_t)after;
    }
    FilmPlan plan = {start, given, changes.data(), changes.size(), 50};
    FilmProgress progress = {};
    int length = 0;
    uint8_t* gif_bytes = encode_film(s, plan, &progress, &length);
    ASSERT_NE(gif_bytes, nullptr);
    EXPECT_EQ(progress.frames_done.load(), film_most_frames);

    Bytes bytes = {gif_bytes, 0, length};
    int error = 0;
    GifFileType* gif = DGifOpen(&bytes, read_bytes, &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    ASSERT_EQ(gif->ImageCount, (int)film_most_frames);
    std::vector<uint32_t> canvas(width * width, 0), first;
    int delays = 0;
    for (int i = 0; i < gif->ImageCount; i++) {
        const SavedImage& image = gif->SavedImages[i];
        GraphicsControlBlock control;
        DGifSavedExtensionToGCB(gif, i, &control);
        delays += control.DelayTime;
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; y++)
            for (int x = 0; x < d.Width; x++) {
                int place = image.RasterBits[y * d.Width + x];
                if (place == control.TransparentColor) continue;
                const GifColorType& c = gif->SColorMap->Colors[place];
                canvas[(d.Top + y) * width + d.Left + x] =
                    (uint32_t)c.Red << 16 | c.Green << 8 | c.Blue;
            }
        if (i == 0) first = cells_shown(canvas, s);
    }
    for (int cell = 0; cell < 81; cell++) {
        EXPECT_EQ(first[cell], colour_of(start[cell], given[cell], false)) << cell;
        bool last_change = cell == change_cell(changes.back());
        EXPECT_EQ(cells_shown(canvas, s)[cell], colour_of(board[cell], given[cell], last_change))
            << cell;
    }
    // 5,000 changes at 50 a second, and the last frame held.
    EXPECT_NEAR(delays, 100 * 5000 / 50 + film_last_hold, 2 * film_shortest_delay);
    DGifCloseFile(gif, &error);
    free(gif_bytes);

    progress.cancel = true;
    EXPECT_EQ(encode_film(s, plan, &progress, &length), nullptr);
}
