// The comparison of the four ways of searching, counted on a worker and drawn over the board.
#include "game/screen/compare_card.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/number_text.h"
#include "game/board/game_state.h"
#include "game/board/notice.h"
#include "game/screen/card_frame.h"
#include "game/screen/layout.h"
#include "game/screen/screen_colours.h"
#include "game/watch/strategy_choice.h"
#include "platform/platform.h"
#include "render/shapes.h"
#include "text/font.h"
#include "text/text_object.h"

// Each count stops here: a few seconds in all, and numbers that still read.
static constexpr uint64_t count_step_cap = 1ull << 32;
static constexpr double count_seconds = 2;

// The worker's job: the main thread writes the givens before the start, the
// worker each result before its `done` (release).
struct CompareJob {
    uint8_t givens[board_cells];
    PlainResult results[strategy_count];
    double seconds[strategy_count];
    std::atomic<bool> done[strategy_count];
    std::atomic<bool> running;
};

// Sizes in logical units.
constexpr float heading_height = 44;
constexpr float row_height = 62;
constexpr float bar_height = 8;

struct CompareCard {
    TextObject heading, footer;
    TextObject names[strategy_count];
    TextObject counts[strategy_count];
    // What each row's counts say, so a text is laid out again only on a change.
    bool shown_done[strategy_count];
    bool tried, made;
    // The card was asked for again while the worker still counted the last.
    bool count_again;
    // Where the rows were drawn, for the mouse.
    float left, first_row_top;
};

bool compare_card_shown;
static CompareJob job;
static CompareCard card;

static int count_main() {
    platform_lower_solver_thread_priority();
    for (int s = 0; s < strategy_count; s++) {
        int64_t start = platform_counter_now();
        job.results[s] = search_plain((Strategy)s, job.givens, count_step_cap, count_seconds);
        job.seconds[s] = (double)(platform_counter_now() - start) * platform_seconds_per_tick();
        job.done[s].store(true, std::memory_order_release);
    }
    job.running.store(false, std::memory_order_release);
    return 0;
}

static void start_count() {
    read_givens(job.givens);
    for (int s = 0; s < strategy_count; s++) {
        job.done[s].store(false, std::memory_order_relaxed);
        card.shown_done[s] = false;
        set_text(&card.counts[s], "counting...");
    }
    job.running.store(true, std::memory_order_relaxed);
    card.count_again = false;
    if (!platform_start_detached(count_main)) job.running.store(false, std::memory_order_relaxed);
}

static bool make_card() {
    if (!find_font("card_font") && !register_font("card_font", "arialbd.ttf", 18)) return false;
    if (!create_text_object(&card.heading, "solve_font", "Four ways to search")) return false;
    if (!create_text_object(&card.footer, "card_font", "1 to 4 or a click: search that way"))
        return false;
    for (int s = 0; s < strategy_count; s++) {
        char name[64];
        snprintf(name, sizeof(name), "%d  %s", s + 1, strategy_names[s]);
        if (!create_text_object(&card.names[s], "card_font", name)) return false;
        if (!create_text_object(&card.counts[s], "card_font", "counting...")) return false;
    }
    return true;
}

void show_compare_card(double now) {
    if (game_state.solver_running.load(std::memory_order_acquire)) {
        post_notice("the comparison waits: a search is running", now);
        return;
    }
    // Made once: a font or text that cannot be made now never will be.
    if (!card.tried) card.made = make_card();
    card.tried = true;
    if (!card.made) return;
    compare_card_shown = true;
    if (job.running.load(std::memory_order_acquire))
        card.count_again = true;
    else
        start_count();
}

// "4,209 steps   7,119 changes   0.41 ms", or "more than 4,294,967,296 steps".
static void count_words(int s, char* out, size_t size) {
    const PlainResult& result = job.results[s];
    char steps[number_text_size], changes[number_text_size];
    number_text(result.steps > count_step_cap ? count_step_cap : result.steps, steps);
    number_text(result.changes, changes);
    double ms = 1e3 * job.seconds[s];
    if (result.capped) {
        snprintf(out, size, "more than %s steps   stopped after %.1f s", steps, job.seconds[s]);
        return;
    }
    snprintf(out, size, "%s step%s   %s change%s   %.*f ms%s", steps, result.steps == 1 ? "" : "s",
             changes, result.changes == 1 ? "" : "s", ms < 10 ? 2 : 0, ms,
             result.solved ? "" : "   no solution");
}

// Counts that came in since the last frame become words.
static void follow_job() {
    if (card.count_again && !job.running.load(std::memory_order_acquire)) start_count();
    for (int s = 0; s < strategy_count; s++) {
        if (card.shown_done[s] || !job.done[s].load(std::memory_order_acquire)) continue;
        char words[text_max_length + 1];
        count_words(s, words, sizeof(words));
        set_text(&card.counts[s], words);
        card.shown_done[s] = true;
    }
}

Motion compare_card_motion() {
    if (!compare_card_shown) return Motion::still;
    bool running = job.running.load(std::memory_order_acquire);
    if (card.count_again && !running) return Motion::moving;
    for (int s = 0; s < strategy_count; s++)
        if (!card.shown_done[s] && job.done[s].load(std::memory_order_acquire))
            return Motion::moving;
    return running ? Motion::waiting : Motion::still;
}

void draw_compare_card() {
    follow_job();
    Vec2 top_left =
        draw_card_frame(2 * card_margin + 2 * heading_height + strategy_count * row_height);
    float left = top_left.x + card_margin, inner = card_width - 2 * card_margin;
    draw_left_aligned(&card.heading, left, top_left.y + card_margin + heading_height / 2);
    card.left = top_left.x;
    card.first_row_top = top_left.y + card_margin + heading_height;
    // Bars on a logarithmic scale, so that 52 and 69,175,317 both read.
    double longest = log10((double)count_step_cap);
    for (int s = 0; s < strategy_count; s++) {
        float top = card.first_row_top + row_height * (float)s;
        draw_left_aligned(&card.names[s], left, top + 14);
        draw_left_aligned(&card.counts[s], left + 24, top + 34);
        if (s == (int)chosen_strategy())
            draw_rect_outline(Vec2{left - 6, top + 1}, inner + 12, row_height - 2, 2, ink.r, ink.g,
                              ink.b, ink.a);
        if (!card.shown_done[s]) continue;
        double steps = (double)job.results[s].steps;
        float bar = (float)(inner * log10(steps < 1 ? 1 : steps) / longest);
        draw_rect(Vec2{left, top + 46}, bar < 2 ? 2 : bar, bar_height, 64, 64, 192, 255);
    }
    draw_left_aligned(&card.footer, left,
                      card.first_row_top + row_height * strategy_count + heading_height / 2);
}

static void choose_and_close(int strategy, double now) {
    compare_card_shown = false;
    if (strategy >= 0 && strategy < strategy_count) choose_strategy((Strategy)strategy, now);
}

void compare_card_key(int digit, double now) {
    choose_and_close(digit - 1, now);
}

void compare_card_press(float x, float y, double now) {
    int row = (int)floorf((y - card.first_row_top) / row_height);
    bool inside = x >= card.left && x <= card.left + card_width && y >= card.first_row_top;
    choose_and_close(inside ? row : -1, now);
}
