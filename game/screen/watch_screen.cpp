// The status of a watched search or its replay, and the outline of its last change.
#include "game/screen/watch_screen.h"

#include <cstring>

#include "common/number_text.h"
#include "game/board/game_state.h"
#include "game/screen/layout.h"
#include "game/search/search_record.h"
#include "game/watch/strategy_choice.h"
#include "game/watch/watch.h"
#include "render/shapes.h"
#include "text/font.h"
#include "text/text_object.h"

static const uint8_t ink[4] = {61, 37, 1, 255};

// The line is put together from ready-made pieces, so nothing is laid out
// while it changes from frame to frame.
enum Piece : uint8_t {
    digit_0, // to digit_9
    change_word = 10,
    of_word,
    filled_word,
    per_second_word,
    flat_out_word,
    paused_word,
    record_from_word,
    comma,
    one_per_second_word,
    strategy_word, // to the last way of searching
    piece_count = strategy_word + strategy_count
};

// The board shows changes: "change" counts them everywhere on this line.
static const char* const words[strategy_word - change_word] = {
    "change ", " of ",     " filled", " changes/s", "flat out", "paused", "record from change ",
    ",",       " change/s"};

// Pieces in groups ("change 12 of 40", "30 filled", ...) that a narrow window
// may put on rows of their own.
struct Line {
    uint8_t pieces[96];
    int count;
    uint8_t group_starts[status_group_capacity + 1];
    int group_count;
};

struct WatchScreen {
    bool tried;
    bool ready;
    const Font* font;
    TextObject pieces[piece_count];
    // The status measured for this frame.
    Line line;
};

static WatchScreen watch_screen;

bool status_font_ready() {
    if (watch_screen.tried) return watch_screen.ready;
    watch_screen.tried = true;
    Font* font = register_wide_font("status_font", "arialbd.ttf", 14);
    if (!font) return false;
    // Smaller than this, in the smallest windows, the words run together.
    font->least_pixels = 9;
    watch_screen.font = font;
    for (int i = 0; i < piece_count; i++) {
        char digit[2] = {(char)('0' + i), 0};
        const char* text = i < change_word     ? digit
                           : i < strategy_word ? words[i - change_word]
                                               : strategy_names[i - strategy_word];
        if (!create_text_object(&watch_screen.pieces[i], "status_font", text)) return false;
    }
    watch_screen.ready = true;
    return true;
}

float status_gap() {
    const Glyph& space = watch_screen.font->glyphs[' ' - glyph_first];
    return (float)(int)((float)strlen(status_gap_text) * space.advance / watch_screen.font->scale);
}

float status_row_height() {
    return (float)watch_screen.font->size + 2;
}

static void add(Line& line, Piece piece) {
    if (line.count < (int)sizeof(line.pieces)) line.pieces[line.count++] = piece;
}

static void begin_group(Line& line) {
    if (line.group_count < status_group_capacity)
        line.group_starts[line.group_count++] = (uint8_t)line.count;
}

static void add_number(Line& line, uint64_t number) {
    char digits[number_text_size];
    int length = number_text(number, digits);
    for (int i = 0; i < length; i++) add(line, digits[i] == ',' ? comma : (Piece)(digits[i] - '0'));
}

static void add_pace(Line& line) {
    uint8_t pace = watch_shared.pace.load(std::memory_order_relaxed);
    if (pace == flat_out) {
        add(line, flat_out_word);
        return;
    }
    add_number(line, pace_rates[pace]);
    add(line, pace_rates[pace] == 1 ? one_per_second_word : per_second_word);
}

// A search or a replay says where it is; after a search, only the pace
// set for the next one stays, and only while it is not flat out.
static void build_line(Line& line) {
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    bool running = game_state.solver_running.load(std::memory_order_acquire);
    bool replay = replay_showing();
    if (!running && !replay) {
        if (watch_shared.pace.load(std::memory_order_relaxed) == flat_out) return;
        begin_group(line);
        add_pace(line);
        begin_group(line);
        add(line, (Piece)(strategy_word + (int)chosen_strategy()));
        return;
    }
    begin_group(line);
    add(line, change_word);
    add_number(line,
               replay ? replay_position() : watch_shared.shown.load(std::memory_order_relaxed));
    if (replay) {
        add(line, of_word);
        add_number(line, count);
    }
    begin_group(line);
    add_number(line, (uint64_t)filled_by_search(nullptr));
    add(line, filled_word);
    begin_group(line);
    add_pace(line);
    bool paused =
        replay ? !replay_playing() : watch_shared.pause_requested.load(std::memory_order_relaxed);
    if (paused) {
        begin_group(line);
        add(line, paused_word);
    }
    begin_group(line);
    add(line, (Piece)(strategy_word + (int)search_strategy()));
    // Change K is the state after K changes; the record begins with the oldest held.
    if (replay && record_first() > 0) {
        begin_group(line);
        add(line, record_from_word);
        add_number(line, record_first());
    }
}

int measure_status() {
    Line& line = watch_screen.line;
    line.count = line.group_count = 0;
    if (!watch_active() || !status_font_ready()) return 0;
    build_line(line);
    line.group_starts[line.group_count] = (uint8_t)line.count;
    return line.group_count;
}

int status_group_width(int group) {
    const Line& line = watch_screen.line;
    int width = 0;
    for (int i = line.group_starts[group]; i < line.group_starts[group + 1]; i++)
        width += watch_screen.pieces[line.pieces[i]].width;
    return width;
}

void draw_status_group(int group, float left, float y) {
    const Line& line = watch_screen.line;
    for (int i = line.group_starts[group]; i < line.group_starts[group + 1]; i++) {
        const TextObject* piece = &watch_screen.pieces[line.pieces[i]];
        draw_text(piece, Vec2{left + (float)(piece->width / 2), y}, ink[0], ink[1], ink[2], ink[3]);
        left += (float)piece->width;
    }
}

// Inside the cell, clear of the grid lines.
static constexpr float outline_inset = 3;
static constexpr float outline_thickness = 2;

void draw_change_outline(int cell) {
    Vec2 centre = game_layout.cell_centres[cell];
    float side = cell_size - 2 * outline_inset;
    draw_rect_outline(Vec2{centre.x - side / 2, centre.y - side / 2}, side, side, outline_thickness,
                      ink[0], ink[1], ink[2], ink[3]);
}

void draw_last_change() {
    if (!watch_active()) return;
    int cell = watch_shared.last_cell.load(std::memory_order_relaxed);
    if (cell >= 0 && cell < board_cells) draw_change_outline(cell);
}
