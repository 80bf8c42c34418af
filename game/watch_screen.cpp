#include "game/watch_screen.h"

#include <cstdio>

#include "game/game_state.h"
#include "game/layout.h"
#include "game/search_record.h"
#include "game/watch.h"
#include "render/shapes.h"
#include "text/font.h"
#include "text/text_object.h"

static const uint8_t ink[4] = {61, 37, 1, 255};

// The line is put together from ready-made pieces, so nothing is laid out
// while it changes from frame to frame.
enum Piece : uint8_t {
    digit_0, // to digit_9
    step_word = 10,
    of_word,
    gap,
    filled_word,
    per_second_word,
    flat_out_word,
    paused_word,
    record_from_word,
    piece_count
};

static const char* const words[piece_count - step_word] = {
    "step ", " of ", "   ", " filled", " steps/s", "flat out", "paused", "record from step "};

struct WatchScreen {
    bool tried;
    bool ready;
    TextObject pieces[piece_count];
};

static WatchScreen watch_screen;

// The small font is registered when first wanted: a run that never watches
// keeps the font caches it always had.
static bool make_pieces() {
    if (watch_screen.tried) return watch_screen.ready;
    watch_screen.tried = true;
    if (!register_font("status_font", "arialbd.ttf", 14)) return false;
    for (int i = 0; i < piece_count; i++) {
        char digit[2] = {(char)('0' + i), 0};
        const char* text = i < step_word ? digit : words[i - step_word];
        if (!create_text_object(&watch_screen.pieces[i], "status_font", text)) return false;
    }
    watch_screen.ready = true;
    return true;
}

struct Line {
    uint8_t pieces[96];
    int count;
};

static void add(Line& line, Piece piece) {
    if (line.count < (int)sizeof(line.pieces)) line.pieces[line.count++] = piece;
}

static void add_number(Line& line, uint64_t number) {
    char digits[24];
    int length = snprintf(digits, sizeof(digits), "%llu", (unsigned long long)number);
    for (int i = 0; i < length; i++) add(line, (Piece)(digits[i] - '0'));
}

static int filled_by_search() {
    int filled = 0;
    for (int i = 0; i < board_cells; i++) {
        if (!game_state.board.given[i] && cell_value(i) != 0) filled++;
    }
    return filled;
}

static void build_line(Line& line) {
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    bool running = game_state.solver_running.load(std::memory_order_acquire);
    bool replay = replay_showing();
    add(line, step_word);
    add_number(line,
               replay ? replay_position() : watch_shared.shown.load(std::memory_order_relaxed));
    if (replay) {
        add(line, of_word);
        add_number(line, count);
    }
    add(line, gap);
    add_number(line, (uint64_t)filled_by_search());
    add(line, filled_word);
    add(line, gap);
    uint8_t pace = watch_shared.pace.load(std::memory_order_relaxed);
    if (pace == flat_out) {
        add(line, flat_out_word);
    } else {
        add_number(line, pace_rates[pace]);
        add(line, per_second_word);
    }
    bool paused = replay ? !replay_playing()
                         : running && watch_shared.pause_requested.load(std::memory_order_relaxed);
    if (paused) {
        add(line, gap);
        add(line, paused_word);
    }
    // Step K is the state after K changes; the record begins with the oldest held.
    if (replay && record_first() > 0) {
        add(line, gap);
        add(line, record_from_word);
        add_number(line, record_first());
    }
}

static void draw_line(const Line& line, Vec2 centre) {
    int width = 0;
    for (int i = 0; i < line.count; i++) width += watch_screen.pieces[line.pieces[i]].width;
    float left = centre.x - (float)(width / 2);
    for (int i = 0; i < line.count; i++) {
        const TextObject* piece = &watch_screen.pieces[line.pieces[i]];
        draw_text(piece, Vec2{left + (float)(piece->width / 2), centre.y}, ink[0], ink[1], ink[2],
                  ink[3]);
        left += (float)piece->width;
    }
}

// Inside the cell, clear of the grid lines.
static constexpr float outline_inset = 3;
static constexpr float outline_thickness = 2;

void draw_watch() {
    if (!watch_active() || !make_pieces()) return;
    int cell = watch_shared.last_cell.load(std::memory_order_relaxed);
    if (cell >= 0 && cell < board_cells) {
        Vec2 centre = game_layout.cell_centres[cell];
        float side = cell_size - 2 * outline_inset;
        draw_rect_outline(Vec2{centre.x - side / 2, centre.y - side / 2}, side, side,
                          outline_thickness, ink[0], ink[1], ink[2], ink[3]);
    }
    Line line;
    line.count = 0;
    build_line(line);
    // Below the bottom row of the palette, in the free space above the window's foot.
    Vec2 under_palette = game_layout.palette_centres[7];
    draw_line(line, Vec2{under_palette.x, under_palette.y + small_button_size.y});
}
