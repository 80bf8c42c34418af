// The game screen: made at the start, drawn every frame.
#include "game/screen/game_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "game/board/autosave.h"
#include "game/board/game_state.h"
#include "game/board/givens_check.h"
#include "game/board/givens_history.h"
#include "game/board/notice.h"
#include "game/puzzles/new_puzzle.h"
#include "game/screen/board_marks.h"
#include "game/screen/compare_card.h"
#include "game/screen/key_card.h"
#include "game/screen/layout.h"
#include "game/screen/message_line.h"
#include "game/screen/screen_colours.h"
#include "game/screen/strip_screen.h"
#include "game/screen/watch_screen.h"
#include "game/watch/watch.h"
#include "render/matrix.h"
#include "render/panel.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "text/font.h"
#include "text/text_object.h"

static const Rgba solver_ink = {64, 64, 192, 255};
static const Rgba clear_ink = {64, 0, 0, 255};
static const Rgba solve_ink = {0, 64, 0, 255};
// Behind a given that breaks the rules: no other state of a cell is red.
static const Rgba conflict_tint = {240, 160, 140, 255};
static const uint32_t small_panel_tint = 0x2001253D;
static const uint32_t clear_panel_tint = 0x40000080;
static const uint32_t solve_panel_tint = 0x40008000;

struct GameScreen {
    TextObject title_text;
    TextObject digit_texts[9];
    TextObject eraser_text;
    TextObject solve_text;
    TextObject stop_text;
    TextObject clear_text;
    Panel small_panel;
    Panel wide_panel;
};

static GameScreen screen;

bool game_start() {
    if (!register_font("title_font", "PoetsenOne-Regular.ttf", 64)) return false;
    if (!create_text_object(&screen.title_text, "title_font", "Tessarin")) return false;
    clear_values();
    compute_layout(view_width, view_height, &game_layout);

    if (!register_font("digit_font", "arialbd.ttf", 32)) return false;
    for (int k = 1; k <= 9; k++) {
        char digit[4];
        snprintf(digit, sizeof(digit), "%d", k);
        if (!create_text_object(&screen.digit_texts[k - 1], "digit_font", digit)) return false;
    }
    if (!create_text_object(&screen.eraser_text, "digit_font", "X")) return false;

    if (!register_font("solve_font", "PoetsenOne-Regular.ttf", 36)) return false;
    if (!create_text_object(&screen.solve_text, "solve_font", "Solve")) return false;
    if (!create_text_object(&screen.stop_text, "solve_font", "Stop")) return false;
    if (!create_text_object(&screen.clear_text, "solve_font", "Clear")) return false;

    if (!texture_from_image("rounded_rect.png")) return false;
    if (!panel_create(&screen.small_panel, small_button_size)) return false;
    if (!panel_create(&screen.wide_panel, wide_button_size)) return false;

    load_board();
    history_start();
    return true;
}

void game_resize(uint16_t width, uint16_t height) {
    if (width == 0 || height == 0) return;
    compute_layout(width, height, &game_layout);
}

static void draw_text_in(const TextObject* text, Vec2 centre, Rgba colour) {
    draw_text(text, centre, colour.r, colour.g, colour.b, colour.a);
}

static void draw_outline(Vec2 centre, Vec2 size) {
    draw_rect_outline(Vec2{centre.x - size.x / 2, centre.y - size.y / 2}, size.x, size.y,
                      selection_outline, ink.r, ink.g, ink.b, ink.a);
}

static void draw_selection_outline(Vec2 centre) {
    draw_outline(centre, small_button_size);
}

// Line edges and widths on whole pixels: at any scale every line shows, sharp,
// and the gaps between them differ by a pixel at most.
static void draw_grid(Vec2 top_left) {
    float left = snap_to_pixel(top_left.x);
    float top = snap_to_pixel(top_left.y);
    float width = snap_to_pixel(top_left.x + grid_side) - left;
    float height = snap_to_pixel(top_left.y + grid_side) - top;
    float thin = whole_pixels(grid_thin_line);
    // The boxes show at every scale: their lines a pixel thicker than the
    // cells' at least, where rounding alone would make both one pixel.
    float thick = fmaxf(whole_pixels(grid_thick_line), thin + 1 / view_scale);
    for (int i = 0; i <= 9; i++) {
        float thickness = i % 3 == 0 ? thick : thin;
        float offset = cell_size * (float)i;
        draw_rect(Vec2{left, snap_to_pixel(top_left.y + offset)}, width, thickness, ink.r, ink.g,
                  ink.b, ink.a);
        draw_rect(Vec2{snap_to_pixel(top_left.x + offset), top}, thickness, height, ink.r, ink.g,
                  ink.b, ink.a);
    }
}

// Givens that share a digit with another in a unit, where the user has asked
// to see more: with the cell cursor, the status line or a replay.
static void draw_conflict_marks() {
    if (!conflicts_shown()) return;
    uint8_t givens[board_cells];
    read_givens(givens);
    GivenConflicts conflicts;
    find_conflicts(givens, &conflicts);
    if (conflicts.marked_count > 0) draw_cell_tints(conflicts.marked, conflict_tint);
}

// The givens of the selected digit pulse as sin(8 t): a period of 2 pi / 8 s.
static const double pulse_period = 0.78539816339744831;

static void draw_cells(double now) {
    int selected = game_state.selected_digit;
    for (int index = 0; index < board_cells; index++) {
        // One read per cell: the solver may change the value meanwhile, and
        // only a digit 1-9 may pick a text.
        int32_t value = cell_value(index);
        if (value < 1 || value > 9) continue;
        matrix_push();
        matrix_translate(game_layout.cell_centres[index].x, game_layout.cell_centres[index].y);
        Rgba colour = solver_ink;
        if (game_state.board.given[index]) {
            colour = ink;
            if (value == selected) {
                // The phase within one period keeps the sine smooth however
                // long the program has run.
                double phase = 8.0 * fmod(now, pulse_period);
                float pulse = 1.2f + 0.2f * (float)sin(phase);
                matrix_scale(pulse, pulse);
            }
        }
        draw_text_in(&screen.digit_texts[value - 1], Vec2{0, 0}, colour);
        matrix_pop();
    }
}

// The givens of the selected digit pulse; with none of them there is nothing to move.
static bool pulse_shown() {
    int selected = game_state.selected_digit;
    if (selected < 1 || selected > 9) return false;
    for (int index = 0; index < board_cells; index++)
        if (game_state.board.given[index] && cell_value(index) == selected) return true;
    return false;
}

Motion screen_motion() {
    Motion own = pulse_shown() || notice_timed() ? Motion::moving : Motion::still;
    return std::max({own, watch_motion(), new_puzzle_motion(), compare_card_motion()});
}

void game_frame(double now) {
    watch_frame(now);
    new_puzzle_frame(now);
    draw_game_screen(now);
}

void draw_game_screen(double now) {
    // Read before the cells: a search that ends while they are drawn leaves
    // its digits and "Stop" in this frame, never its digits beside "Solve".
    bool searching = game_state.solver_running.load(std::memory_order_acquire);
    draw_rect(Vec2{0, 0}, view_width, view_height, background.r, background.g, background.b,
              background.a);
    draw_text_in(&screen.title_text, game_layout.title_centre, ink);
    draw_story_marks();
    draw_conflict_marks();
    draw_grid(game_layout.grid_top_left);
    draw_cells(now);
    draw_candidates(searching);
    // While a search runs typing does nothing, so the cursor does not show.
    if (game_state.cursor_shown && !searching)
        draw_outline(game_layout.cell_centres[game_state.cursor_cell], Vec2{cell_size, cell_size});
    draw_last_change();
    draw_message_line(now);
    draw_search_strip();

    for (int k = 1; k <= 9; k++) {
        Vec2 centre = game_layout.palette_centres[k - 1];
        panel_draw(&screen.small_panel, centre, small_panel_tint);
        draw_text_in(&screen.digit_texts[k - 1], centre, ink);
        if (game_state.selected_digit == k) draw_selection_outline(centre);
    }

    panel_draw(&screen.wide_panel, game_layout.clear_centre, clear_panel_tint);
    draw_text_in(&screen.clear_text, game_layout.clear_centre, clear_ink);

    panel_draw(&screen.small_panel, game_layout.eraser_centre, small_panel_tint);
    draw_text_in(&screen.eraser_text, game_layout.eraser_centre, ink);
    if (game_state.selected_digit == 0 && game_state.eraser_selected)
        draw_selection_outline(game_layout.eraser_centre);

    panel_draw(&screen.wide_panel, game_layout.solve_centre, solve_panel_tint);
    draw_text_in(searching ? &screen.stop_text : &screen.solve_text, game_layout.solve_centre,
                 solve_ink);
    if (key_card_shown) draw_key_card();
    if (compare_card_shown) draw_compare_card();
}

ScreenBands screen_bands() {
    // A margin keeps the grid's outer lines whole in the picture.
    constexpr float margin = 10;
    ScreenBands bands;
    bands.grid_top = game_layout.grid_top_left.y - margin;
    bands.grid_bottom = game_layout.grid_top_left.y + grid_side + margin;
    bands.line_top = game_layout.palette_centres[7].y + small_button_size.y / 2 + margin / 2;
    // The strip reaches down to the window's foot; a notice alone, to its own.
    bands.line_bottom = status_line_shown()       ? (float)view_height
                        : message_line_foot() > 0 ? message_line_foot() + margin
                                                  : 0;
    return bands;
}

void draw_board_sheet(const uint8_t cells[81], const uint8_t given[81], bool outlined) {
    draw_rect(Vec2{0, 0}, view_width, view_height, background.r, background.g, background.b,
              background.a);
    draw_grid(game_layout.grid_top_left);
    for (int i = 0; i < board_cells; i++) {
        if (cells[i] >= 1 && cells[i] <= 9)
            draw_text_in(&screen.digit_texts[cells[i] - 1], game_layout.cell_centres[i],
                         given[i] ? ink : solver_ink);
        if (outlined) draw_change_outline(i);
    }
}
