// The strip of the search's depth under the status line, and seeking along it.
#include "game/screen/strip_screen.h"

#include <cmath>

#include "game/board/game_state.h"
#include "game/screen/layout.h"
#include "game/screen/message_line.h"
#include "game/screen/screen_colours.h"
#include "game/watch/search_strip.h"
#include "game/watch/watch.h"
#include "render/rect_batch.h"
#include "render/renderer.h"
#include "render/shapes.h"

// Below the status line, as wide as the grid, above the window's foot.
static constexpr float strip_gap = 14;
static constexpr float strip_height = 56;
// Below the message line's last row when it has more than one.
static constexpr float strip_below_rows = 6;

static const Rgba strip_ink = {64, 64, 192, 255};

struct StripScreen {
    // What the runs were taken from: the search of this number, or its replay.
    uint32_t search;
    bool replay;
    uint64_t replay_count;
    bool dragging;
    // What was drawn, for the mouse.
    bool drawn;
    float left, top, width, height;
    RectBatch columns;
};

static StripScreen strip;

// The depth after the recorded change `to`, from the board showing `shown`.
static int depth_at(uint64_t shown, uint64_t to) {
    int depth = filled_by_search(nullptr);
    for (uint64_t k = shown; k < to; k++) depth += change_depth_step(recorded_change(k));
    return depth;
}

// Brings the runs up to what the search or the replay holds now.
static void follow_record() {
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    if (replay_showing()) {
        if (strip.replay && strip.search == search_number() && strip.replay_count == count) return;
        strip.replay = true;
        strip.search = search_number();
        strip.replay_count = count;
        strip_from_record(record_first(), count, filled_by_search(search_record.last_cells));
        return;
    }
    if (!game_state.solver_running.load(std::memory_order_acquire)) return;
    if (strip.replay || strip.search != search_number()) {
        strip.replay = false;
        strip.search = search_number();
        strip_start(0, 0);
    }
    // Parked, the record is the main thread's to its end; running, up to what
    // the search has shown, the changes it makes now lying beyond.
    bool parked = search_parked();
    uint64_t shown = watch_shared.shown.load(std::memory_order_acquire);
    uint64_t to = parked ? count : shown;
    if (to <= search_strip.through) return;
    // After a flat-out run the record may hold only the newest changes.
    if (to - search_strip.through > record_capacity / 2) {
        uint64_t from = to - record_capacity / 2;
        strip_from_record(from, to, parked ? depth_at(shown, to) : filled_by_search(nullptr));
        return;
    }
    strip_take_changes(to);
}

static uint64_t strip_span() {
    uint64_t span = search_strip.through - search_strip.first;
    return span > 0 ? span : 1;
}

void draw_search_strip() {
    strip.drawn = false;
    if (!status_line_shown()) return;
    follow_record();
    bool live = game_state.solver_running.load(std::memory_order_acquire);
    if (!live && !replay_showing()) return;
    if (search_strip.through == search_strip.first) return;
    strip.left = game_layout.grid_top_left.x;
    strip.width = grid_side;
    float under_palette = game_layout.palette_centres[7].y + small_button_size.y;
    strip.top = fmaxf(under_palette + strip_gap, message_line_foot() + strip_below_rows);
    // A line of several rows may push it down; it gets shorter rather than leave the window.
    strip.height = fmaxf(strip_height / 4, fminf(strip_height, (float)view_height - 2 - strip.top));
    strip.drawn = true;

    // One column a device pixel, each from the lowest to the highest depth
    // of its changes; the depth counts up from the strip's foot.
    int deepest = 0;
    for (int i = 0; i < board_cells; i++) deepest += !game_state.board.given[i];
    if (deepest == 0) deepest = 1;
    float pixel = 1 / view_scale;
    int columns = (int)(strip.width * view_scale);
    if (columns > rect_batch_capacity) columns = rect_batch_capacity;
    uint64_t span = strip_span();
    rect_batch_clear(&strip.columns);
    float left = snap_to_pixel(strip.left);
    float foot = snap_to_pixel(strip.top + strip.height);
    for (int c = 0; c < columns; c++) {
        uint64_t from = search_strip.first + span * (uint64_t)c / (uint64_t)columns;
        uint64_t to = search_strip.first + span * (uint64_t)(c + 1) / (uint64_t)columns;
        if (to == from) to = from + 1;
        int low, high;
        if (!strip_depths(from, to, &low, &high)) continue;
        float top = snap_to_pixel(foot - strip.height * (float)high / (float)deepest);
        float bottom = snap_to_pixel(foot - strip.height * (float)low / (float)deepest);
        if (bottom - top < pixel) top = bottom - pixel;
        rect_batch_add(&strip.columns, left + pixel * (float)c, top, pixel, bottom - top);
    }
    rect_batch_draw(&strip.columns, strip_ink.r, strip_ink.g, strip_ink.b);

    // The change the board shows, as a line across the strip's height.
    uint64_t at =
        replay_showing() ? replay_position() : watch_shared.shown.load(std::memory_order_relaxed);
    if (at < search_strip.first) at = search_strip.first;
    float x =
        snap_to_pixel(strip.left + strip.width * (float)(at - search_strip.first) / (float)span);
    draw_rect(Vec2{x - pixel, snap_to_pixel(strip.top) - 2 * pixel}, 2 * pixel,
              foot - snap_to_pixel(strip.top) + 4 * pixel, ink.r, ink.g, ink.b, ink.a);
}

static void seek_to(float x) {
    float along = (x - strip.left) / strip.width;
    if (along < 0) along = 0;
    if (along > 1) along = 1;
    watch_seek(search_strip.first + (uint64_t)((double)along * (double)strip_span() + 0.5));
}

bool strip_press(float x, float y) {
    // A little room around it, so its ends are easy to hit.
    constexpr float reach = 6;
    if (!strip.drawn || x < strip.left - reach || x > strip.left + strip.width + reach ||
        y < strip.top - reach || y > strip.top + strip.height + reach)
        return false;
    strip.dragging = true;
    seek_to(x);
    return true;
}

void strip_drag(float x) {
    if (strip.dragging) seek_to(x);
}

void strip_release() {
    strip.dragging = false;
}
