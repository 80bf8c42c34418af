// Shift+P: an animated GIF of the search, made on a worker thread from
// pictures of cells drawn once, while the screen goes on.
#include "app/animation.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/gif_film.h"
#include "app/picture.h"
#include "common/files.h"
#include "common/number_text.h"
#include "game/board/notice.h"
#include "game/screen/game_screen.h"
#include "game/screen/layout.h"
#include "game/watch/search_film.h"
#include "platform/platform.h"
#include "render/capture.h"
#include "render/renderer.h"

// Around the grid in the animation, in pixels.
static constexpr int film_margin = 5;

enum class FilmEnd : uint8_t { making, saved, failed, cancelled };

// The main thread fills it before the start; the worker writes `end` last (release).
struct AnimationJob {
    SearchFilm film;
    CellSheets sheets;
    uint8_t* sheet_pixels;
    char path[1024];
    uint32_t frames;
    FilmProgress progress;
    std::atomic<FilmEnd> end;
};

struct Animation {
    bool running;
    uint32_t frames_said;
};

static AnimationJob job;
static Animation animation;

static int animation_thread_main() {
    platform_lower_solver_thread_priority();
    FilmPlan plan = {job.film.start, job.film.given, job.film.changes, job.film.count,
                     job.film.rate};
    int length = 0;
    uint8_t* gif = encode_film(job.sheets, plan, &job.progress, &length);
    FilmEnd end = FilmEnd::failed;
    if (job.progress.cancel.load(std::memory_order_relaxed))
        end = FilmEnd::cancelled;
    else if (gif && write_file_replacing(job.path, gif, length))
        end = FilmEnd::saved;
    free(gif);
    job.end.store(end, std::memory_order_release);
    return 0;
}

// The two sheets: row 1 the givens 1 to 9, row 2 the search's, plain and outlined.
static void draw_sheets(const Capture& capture, void*) {
    uint8_t cells[board_cells] = {}, given[board_cells] = {};
    for (int d = 1; d <= 9; d++) {
        cells[d - 1] = cells[8 + d] = (uint8_t)d;
        given[d - 1] = 1;
    }
    int left = (int)game_layout.grid_top_left.x - film_margin;
    int top = (int)game_layout.grid_top_left.y - film_margin;
    CellSheets& sheets = job.sheets;
    sheets.width = sheets.height = (int)grid_side + 2 * film_margin;
    size_t bytes = 4 * (size_t)sheets.width * sheets.height;
    uint8_t* pixels = job.sheet_pixels;
    for (int outlined = 0; outlined < 2; outlined++) {
        draw_board_sheet(cells, given, outlined);
        capture_read(&capture, left, top, sheets.width, sheets.height, pixels + outlined * bytes);
    }
    sheets.plain = pixels;
    sheets.outlined = pixels + bytes;
    // Inside each cell, clear of the thickest grid line at its left and top.
    for (int k = 0; k < 9; k++) sheets.cell_left[k] = sheets.cell_top[k] = film_margin + 50 * k + 2;
    sheets.cell_side = (int)cell_size - 2;
}

void start_animation(double now) {
    if (animation.running) {
        post_notice("an animation is being made: Escape cancels it", now);
        return;
    }
    if (!take_search_film(&job.film)) {
        post_notice("an animation needs a replay or a paused search", now);
        return;
    }
    const char* why = "no memory for its pictures";
    int side = (int)grid_side + 2 * film_margin;
    job.sheet_pixels = (uint8_t*)malloc(2 * 4 * (size_t)side * side);
    // One unit a pixel: whole cells of 50 pixels, the same picture in each.
    bool ready = job.sheet_pixels && draw_off_window(1, draw_sheets, nullptr);
    if (ready) ready = picture_path("gif", job.path, sizeof(job.path), &why);
    job.frames = film_frame_count(job.film.count, job.film.rate);
    job.progress.frames_done.store(0, std::memory_order_relaxed);
    job.progress.cancel.store(false, std::memory_order_relaxed);
    job.end.store(FilmEnd::making, std::memory_order_relaxed);
    if (ready && !platform_start_detached(animation_thread_main)) {
        ready = false;
        why = "no thread can make it now";
    }
    if (!ready) {
        free(job.film.changes);
        free(job.sheet_pixels);
        char words[notice_capacity];
        snprintf(words, sizeof(words), "no animation saved: %s", why);
        post_notice(words, now);
        return;
    }
    animation.running = true;
    animation.frames_said = UINT32_MAX;
}

static void say_progress(uint32_t done) {
    char made[number_text_size], total[number_text_size], changes[number_text_size];
    number_text(done, made);
    number_text(job.frames, total);
    number_text(job.film.count, changes);
    char words[3 * notice_capacity];
    // Fewer frames than changes: each frame stands for several.
    if (job.frames <= job.film.count)
        snprintf(words, sizeof(words),
                 "making the animation: %s of %s frames over %s changes   Escape cancels", made,
                 total, changes);
    else
        snprintf(words, sizeof(words), "making the animation: %s of %s frames   Escape cancels",
                 made, total);
    words[notice_capacity - 1] = 0;
    post_lasting_notice(words);
}

void animation_frame(double now) {
    if (!animation.running) return;
    FilmEnd end = job.end.load(std::memory_order_acquire);
    if (end == FilmEnd::making) {
        uint32_t done = job.progress.frames_done.load(std::memory_order_relaxed);
        if (done != animation.frames_said) say_progress(done);
        animation.frames_said = done;
        return;
    }
    animation.running = false;
    free(job.film.changes);
    free(job.sheet_pixels);
    // Cut to what a notice holds: a long path loses its end.
    char words[sizeof(job.path) + notice_capacity];
    char frames[number_text_size], changes[number_text_size];
    number_text(job.frames, frames);
    number_text(job.film.count, changes);
    // Fewer frames than changes: each frame stands for several, and the line says so.
    if (end == FilmEnd::saved && job.frames <= job.film.count)
        snprintf(words, sizeof(words), "animation saved, %s frames over %s changes: %s", frames,
                 changes, job.path);
    else if (end == FilmEnd::saved)
        snprintf(words, sizeof(words), "animation saved: %s", job.path);
    else if (end == FilmEnd::cancelled)
        snprintf(words, sizeof(words), "animation cancelled: no file written");
    else
        snprintf(words, sizeof(words), "no animation saved: the pictures folder cannot be written");
    words[notice_capacity - 1] = 0;
    take_back_notice();
    post_notice(words, now);
}

bool cancel_animation() {
    if (!animation.running) return false;
    job.progress.cancel.store(true, std::memory_order_relaxed);
    return true;
}

Motion animation_motion() {
    return animation.running ? Motion::moving : Motion::still;
}

void finish_animation() {
    if (!cancel_animation()) return;
    // A file half written would be left behind by the end of the process.
    int64_t give_up = platform_counter_now() + (int64_t)(2 / platform_seconds_per_tick());
    while (job.end.load(std::memory_order_acquire) == FilmEnd::making &&
           platform_counter_now() < give_up)
        platform_sleep_until(platform_counter_now() +
                             (int64_t)(0.005 / platform_seconds_per_tick()));
}
