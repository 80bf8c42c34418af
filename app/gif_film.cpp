// The film's frames from the cell sheets, encoded by giflib: the first whole,
// each later one only the box of the cells that changed, their unchanged
// pixels transparent.
#include "app/gif_film.h"

#include <gif_lib.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

uint32_t film_frame_count(uint64_t count, uint32_t rate) {
    uint64_t frames = count + 1;
    // Faster than a frame each shortest delay: changes share frames.
    uint64_t paced = count * 100 / ((uint64_t)rate * film_shortest_delay) + 2;
    if (frames > paced) frames = paced;
    return frames > film_most_frames ? film_most_frames : (uint32_t)frames;
}

uint64_t film_frame_position(uint32_t frame, uint32_t frames, uint64_t count) {
    if (frames < 2) return count;
    return (uint64_t)(((double)frame * (double)count) / (double)(frames - 1) + 0.5);
}

// Colours to palette places: at most 255, the last place kept for transparency.
constexpr int transparent_index = 255;
constexpr int colour_slots = 4096;

struct Palette {
    uint32_t keys[colour_slots];
    uint8_t places[colour_slots];
    bool used[colour_slots];
    GifColorType colours[256];
    int count;
    // Low bits dropped from each channel, where the sheets had too many colours.
    int coarse;
};

static uint32_t colour_key(const uint8_t* rgba, int coarse) {
    uint32_t mask = (0xFFu << coarse) & 0xFFu;
    return (rgba[0] & mask) << 16 | (rgba[1] & mask) << 8 | (rgba[2] & mask);
}

// The colour's place, added when new; -1 when the palette is full.
static int palette_place(Palette& palette, const uint8_t* rgba) {
    uint32_t key = colour_key(rgba, palette.coarse);
    for (uint32_t slot = (key * 2654435761u) >> 20;; slot = (slot + 1) % colour_slots) {
        if (palette.used[slot] && palette.keys[slot] == key) return palette.places[slot];
        if (palette.used[slot]) continue;
        if (palette.count == transparent_index) return -1;
        palette.used[slot] = true;
        palette.keys[slot] = key;
        palette.places[slot] = (uint8_t)palette.count;
        palette.colours[palette.count] = {(GifByteType)(key >> 16), (GifByteType)(key >> 8),
                                          (GifByteType)key};
        return palette.count++;
    }
}

// Both sheets as palette places, as coarse as it takes to fit.
static bool index_sheets(const CellSheets& sheets, Palette& palette, uint8_t* plain,
                         uint8_t* outlined) {
    int pixels = sheets.width * sheets.height;
    for (palette.coarse = 0; palette.coarse < 6; palette.coarse++) {
        memset(palette.used, 0, sizeof(palette.used));
        palette.count = 0;
        bool fits = true;
        for (int i = 0; i < pixels && fits; i++) {
            int a = palette_place(palette, sheets.plain + 4 * i);
            int b = palette_place(palette, sheets.outlined + 4 * i);
            fits = a >= 0 && b >= 0;
            plain[i] = (uint8_t)a;
            outlined[i] = (uint8_t)b;
        }
        if (fits) return true;
    }
    return false;
}

struct Film {
    const CellSheets* sheets;
    const uint8_t* plain;
    const uint8_t* outlined;
    // The frame as shown so far, and the next one, as palette places.
    uint8_t* shown;
    uint8_t* next;
    uint8_t* row;
    // Each cell's digit and whether it is outlined, as drawn in `next`.
    uint8_t cells[81];
    int8_t outline;
};

// The cell's picture from the sheets into `next`.
static void draw_cell(Film& film, const FilmPlan& plan, int cell) {
    const CellSheets& s = *film.sheets;
    int digit = film.cells[cell];
    int from = digit == 0 ? sheet_empty_cell : plan.given[cell] ? digit - 1 : 8 + digit;
    const uint8_t* sheet = film.outline == cell ? film.outlined : film.plain;
    int from_x = s.cell_left[from % 9], from_y = s.cell_top[from / 9];
    int to_x = s.cell_left[cell % 9], to_y = s.cell_top[cell / 9];
    for (int y = 0; y < s.cell_side; y++)
        memcpy(film.next + (size_t)(to_y + y) * s.width + to_x,
               sheet + (size_t)(from_y + y) * s.width + from_x, (size_t)s.cell_side);
}

static bool put_frame(GifFileType* gif, Film& film, int left, int top, int width, int height,
                      uint32_t delay, bool whole) {
    GraphicsControlBlock control = {DISPOSE_DO_NOT, false, (int)delay,
                                    whole ? NO_TRANSPARENT_COLOR : transparent_index};
    GifByteType extension[4];
    size_t size = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, (int)size, extension) == GIF_ERROR ||
        EGifPutImageDesc(gif, left, top, width, height, false, nullptr) == GIF_ERROR)
        return false;
    int stride = film.sheets->width;
    for (int y = top; y < top + height; y++) {
        const uint8_t* next = film.next + (size_t)y * stride;
        uint8_t* shown = film.shown + (size_t)y * stride;
        for (int x = 0; x < width; x++) {
            uint8_t place = next[left + x];
            film.row[x] = whole || place != shown[left + x] ? place : transparent_index;
            shown[left + x] = place;
        }
        if (EGifPutLine(gif, film.row, width) == GIF_ERROR) return false;
    }
    return true;
}

// Moves the board to `position` changes, redraws the cells that differ and
// puts the frame: the box of those cells only.
static bool film_frame(GifFileType* gif, Film& film, const FilmPlan& plan, uint64_t& at,
                       uint64_t position, uint32_t delay) {
    bool changed[81] = {};
    uint8_t cells[81];
    memcpy(cells, film.cells, sizeof(cells));
    for (; at < position; at++)
        cells[change_cell(plan.changes[at])] = (uint8_t)change_after(plan.changes[at]);
    int8_t outline = position > 0 ? (int8_t)change_cell(plan.changes[position - 1]) : (int8_t)-1;
    for (int cell = 0; cell < 81; cell++)
        changed[cell] = cells[cell] != film.cells[cell] || cell == outline || cell == film.outline;
    memcpy(film.cells, cells, sizeof(cells));
    film.outline = outline;
    const CellSheets& s = *film.sheets;
    int left = s.width, top = s.height, right = 0, bottom = 0;
    for (int cell = 0; cell < 81; cell++) {
        if (!changed[cell]) continue;
        draw_cell(film, plan, cell);
        int x = s.cell_left[cell % 9], y = s.cell_top[cell / 9];
        if (x < left) left = x;
        if (y < top) top = y;
        if (x + s.cell_side > right) right = x + s.cell_side;
        if (y + s.cell_side > bottom) bottom = y + s.cell_side;
    }
    // Nothing moved: a pixel stands for the frame, to keep its time.
    if (right == 0) left = top = 0, right = bottom = 1;
    return put_frame(gif, film, left, top, right - left, bottom - top, delay, false);
}

struct GifBytes {
    uint8_t* data;
    int length, capacity;
};

static int add_gif_bytes(GifFileType* gif, const GifByteType* data, int size) {
    GifBytes* bytes = (GifBytes*)gif->UserData;
    if (bytes->length + size > bytes->capacity) {
        int capacity = 2 * (bytes->length + size);
        uint8_t* grown = (uint8_t*)realloc(bytes->data, (size_t)capacity);
        if (!grown) return 0;
        bytes->data = grown;
        bytes->capacity = capacity;
    }
    memcpy(bytes->data + bytes->length, data, (size_t)size);
    bytes->length += size;
    return size;
}

// The header, the palette and the loop that plays the film again and again.
static bool begin_gif(GifFileType* gif, const CellSheets& sheets, const Palette& palette) {
    ColorMapObject* map = GifMakeMapObject(256, palette.colours);
    if (!map) return false;
    EGifSetGifVersion(gif, true);
    bool begun = EGifPutScreenDesc(gif, sheets.width, sheets.height, 8, 0, map) != GIF_ERROR;
    GifFreeMapObject(map);
    static const GifByteType loop[3] = {1, 0, 0};
    return begun && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
           EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") != GIF_ERROR &&
           EGifPutExtensionBlock(gif, 3, loop) != GIF_ERROR &&
           EGifPutExtensionTrailer(gif) != GIF_ERROR;
}

// Hundredths of a second from the start to `position` changes at the rate.
static uint64_t film_time(uint64_t position, uint32_t rate) {
    return (uint64_t)llround(100.0 * (double)position / (double)rate);
}

static bool put_frames(GifFileType* gif, Film& film, const FilmPlan& plan, FilmProgress* progress) {
    uint32_t frames = film_frame_count(plan.count, plan.rate);
    uint64_t at = 0;
    for (uint32_t frame = 0; frame < frames; frame++) {
        if (progress->cancel.load(std::memory_order_relaxed)) return false;
        uint64_t position = film_frame_position(frame, frames, plan.count);
        uint64_t following = film_frame_position(frame + 1, frames, plan.count);
        uint64_t delay = film_time(following, plan.rate) - film_time(position, plan.rate);
        if (delay < film_shortest_delay) delay = film_shortest_delay;
        if (frame + 1 == frames) delay = film_last_hold;
        bool put = frame == 0 ? put_frame(gif, film, 0, 0, film.sheets->width, film.sheets->height,
                                          (uint32_t)delay, true)
                              : film_frame(gif, film, plan, at, position, (uint32_t)delay);
        if (!put) return false;
        progress->frames_done.store(frame + 1, std::memory_order_relaxed);
    }
    return true;
}

uint8_t* encode_film(const CellSheets& sheets, const FilmPlan& plan, FilmProgress* progress,
                     int* length) {
    size_t pixels = (size_t)sheets.width * sheets.height;
    Palette* palette = (Palette*)calloc(1, sizeof(Palette));
    uint8_t* images = (uint8_t*)malloc(4 * pixels + (size_t)sheets.width);
    GifBytes bytes = {nullptr, 0, 0};
    bool made = false;
    Film film = {&sheets,
                 images,
                 images + pixels,
                 images + 2 * pixels,
                 images + 3 * pixels,
                 images + 4 * pixels,
                 {},
                 -1};
    if (palette && images && index_sheets(sheets, *palette, images, images + pixels)) {
        // The first frame: the sheet's grid with every cell of the start drawn in.
        memcpy(film.next, film.plain, pixels);
        memcpy(film.cells, plan.start, sizeof(film.cells));
        for (int cell = 0; cell < 81; cell++) draw_cell(film, plan, cell);
        int error = 0;
        GifFileType* gif = EGifOpen(&bytes, add_gif_bytes, &error);
        made = gif && begin_gif(gif, sheets, *palette) && put_frames(gif, film, plan, progress);
        if (gif && EGifCloseFile(gif, &error) == GIF_ERROR) made = false;
    }
    free(palette);
    free(images);
    if (!made) {
        free(bytes.data);
        return nullptr;
    }
    *length = bytes.length;
    return bytes.data;
}
