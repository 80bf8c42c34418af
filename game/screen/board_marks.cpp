// Cell tints for the change shown, and the candidates' small digits.
#include "game/screen/board_marks.h"

#include "game/board/game_state.h"
#include "game/board/rules.h"
#include "game/screen/layout.h"
#include "game/screen/message_line.h"
#include "game/screen/screen_colours.h"
#include "game/screen/watch_screen.h"
#include "game/watch/change_shown.h"
#include "render/rect_batch.h"
#include "render/renderer.h"
#include "text/font.h"
#include "text/glyph_batch.h"

// Apart from the conflicts' red and from the ink of the change's outline:
// blue for a peer that holds a digit, green for the house a digit was placed
// by, violet for a dead end.
static const Rgba peer_tint = {168, 204, 244, 255};
static const Rgba house_tint = {206, 232, 188, 255};
static const Rgba dead_end_tint = {212, 180, 240, 255};
static const Rgba candidate_ink = {96, 104, 120, 255};

bool candidates_wanted;

struct BoardMarks {
    RectBatch tints;
    GlyphBatch digits;
};

static BoardMarks marks;

// The whole cell, on whole pixels; the grid lines are drawn over its edges.
static void add_cell(int cell) {
    Vec2 centre = game_layout.cell_centres[cell];
    float left = snap_to_pixel(centre.x - cell_size / 2);
    float top = snap_to_pixel(centre.y - cell_size / 2);
    rect_batch_add(&marks.tints, left, top, snap_to_pixel(centre.x + cell_size / 2) - left,
                   snap_to_pixel(centre.y + cell_size / 2) - top);
}

static void draw_house(int house, Rgba tint) {
    rect_batch_clear(&marks.tints);
    for (int k = 0; k < 9; k++) add_cell(house_cell((HouseKind)(house / 9), house % 9, k));
    rect_batch_draw(&marks.tints, tint.r, tint.g, tint.b);
}

void draw_cell_tints(const bool marked[81], Rgba tint) {
    rect_batch_clear(&marks.tints);
    for (int cell = 0; cell < 81; cell++)
        if (marked[cell]) add_cell(cell);
    rect_batch_draw(&marks.tints, tint.r, tint.g, tint.b);
}

void draw_story_marks() {
    ShownChange shown;
    if (!status_line_shown() || !shown_change(&shown)) return;
    const ChangeStory& story = shown.story;
    if (story.house >= 0) draw_house(story.house, house_tint);
    if (story.dead_house >= 0) draw_house(story.dead_house, dead_end_tint);
    rect_batch_clear(&marks.tints);
    for (int i = 0; i < story.passed_count; i++) add_cell(story.passed_peers[i]);
    rect_batch_draw(&marks.tints, peer_tint.r, peer_tint.g, peer_tint.b);
    if (story.dead_cell >= 0) {
        rect_batch_clear(&marks.tints);
        add_cell(story.dead_cell);
        rect_batch_draw(&marks.tints, dead_end_tint.r, dead_end_tint.g, dead_end_tint.b);
    }
}

void draw_candidates(bool searching) {
    if (!candidates_wanted) return;
    if (!status_line_shown() && !(game_state.cursor_shown && !searching)) return;
    if (!status_font_ready()) return;
    // One read of the board: the search may change it meanwhile.
    uint8_t cells[board_cells];
    Houses houses = {};
    for (int i = 0; i < board_cells; i++) {
        int32_t value = cell_value(i);
        cells[i] = (uint8_t)(value >= 1 && value <= 9 ? value : 0);
        if (cells[i]) hold_digit(houses, i, digit_bit(cells[i]));
    }
    const Font* font = find_font("status_font");
    float place = cell_size / 3;
    glyph_batch_clear(&marks.digits);
    for (int i = 0; i < board_cells; i++) {
        if (cells[i]) continue;
        Vec2 centre = game_layout.cell_centres[i];
        for (unsigned rest = candidates_of(houses, i); rest; rest &= rest - 1) {
            int digit = __builtin_ctz(rest);
            Vec2 at = {centre.x + place * (float)((digit - 1) % 3 - 1),
                       centre.y + place * (float)((digit - 1) / 3 - 1)};
            glyph_batch_add(&marks.digits, font, (char)('0' + digit), at);
        }
    }
    glyph_batch_draw(&marks.digits, font, candidate_ink.r, candidate_ink.g, candidate_ink.b,
                     candidate_ink.a);
}
