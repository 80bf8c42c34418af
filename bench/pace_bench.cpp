// How well a watched search keeps its pace, and what a paused one costs: the
// real solver thread on a long search, at 10, 1,000 and 1,000,000 changes a
// second for 5 s each, then paused for 5 s; how soon the controls act at one
// change a second; and Home and End in a full record. Figures only.
#include <sys/resource.h>

#include <cstdio>

#include "game/board/game_state.h"
#include "game/search/search_record.h"
#include "game/watch/search_strip.h"
#include "game/watch/watch.h"
#include "platform/platform.h"
#include "tests/unit/game_test_boards.h"

static constexpr double measured_seconds = 5;

static void sleep_seconds(double seconds) {
    platform_sleep_until(platform_counter_now() + (int64_t)(seconds / platform_seconds_per_tick()));
}

static double seconds_now() {
    return (double)platform_counter_now() * platform_seconds_per_tick();
}

static double process_seconds() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return (double)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           1e-6 * (double)(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

static void stop_search_and_wait() {
    watch_escape();
    while (game_state.solver_running.load(std::memory_order_acquire)) sleep_seconds(0.01);
}

int main() {
    setvbuf(stdout, nullptr, _IOLBF, 0);
    for (int level : {3, 9, 14}) {
        reset_with_puzzle(long_puzzle());
        watch_shared.pace.store((uint8_t)level);
        start_search();
        // The first half second lets the thread start and the clock settle.
        sleep_seconds(0.5);
        uint64_t first = watch_shared.shown.load();
        double start = platform_counter_now() * platform_seconds_per_tick();
        sleep_seconds(measured_seconds);
        uint64_t last = watch_shared.shown.load();
        double seconds = platform_counter_now() * platform_seconds_per_tick() - start;
        double expected = pace_rates[level] * seconds;
        printf("pace %7u/s: %9llu changes in %.3f s, %.0f expected (%.4f of it)\n",
               pace_rates[level], (unsigned long long)(last - first), seconds, expected,
               (double)(last - first) / expected);
        stop_search_and_wait();
    }
    reset_with_puzzle(long_puzzle());
    watch_shared.pace.store(flat_out);
    start_search();
    watch_space();
    while (!search_parked()) sleep_seconds(0.001);
    double before = process_seconds();
    sleep_seconds(measured_seconds);
    double used = process_seconds() - before;
    printf("paused search: %.4f s of processor time in %.0f s (%.2f %% of a core)\n", used,
           measured_seconds, 100 * used / measured_seconds);
    stop_search_and_wait();

    // At one change a second, each control acts within a slice of the wait.
    for (int round = 0; round < 5; round++) {
        reset_with_puzzle(long_puzzle());
        watch_shared.pace.store(0);
        start_search();
        sleep_seconds(1.3 + 0.15 * round);
        uint64_t before = watch_shared.shown.load();
        double asked = seconds_now();
        watch_escape();
        while (game_state.solver_running.load(std::memory_order_acquire)) sleep_seconds(0.0005);
        double given_back = seconds_now() - asked;
        uint64_t after_escape = search_record.count.load() - before;

        reset_with_puzzle(long_puzzle());
        start_search();
        sleep_seconds(1.3 + 0.15 * round);
        watch_space();
        before = watch_shared.shown.load();
        asked = seconds_now();
        watch_step_forward();
        while (watch_shared.shown.load() == before && seconds_now() - asked < 2)
            sleep_seconds(0.0005);
        double stepped = seconds_now() - asked;
        sleep_seconds(0.5);
        uint64_t after_step = watch_shared.shown.load() - before;
        printf("1 change/s: Escape gave the board back in %.1f ms (%llu changes after it); "
               "Space then . made %llu change in %.1f ms\n",
               1e3 * given_back, (unsigned long long)after_escape, (unsigned long long)after_step,
               1e3 * stepped);
        stop_search_and_wait();
    }
    watch_shared.pace.store(flat_out);

    // A search longer than the record fills it; Home and End go through all of it.
    reset_with_puzzle(anti_brute_force_puzzle());
    start_search();
    while (game_state.solver_running.load(std::memory_order_acquire)) sleep_seconds(0.01);
    double home_start = platform_counter_now() * platform_seconds_per_tick();
    watch_home();
    double home_end = platform_counter_now() * platform_seconds_per_tick();
    watch_end();
    double end_end = platform_counter_now() * platform_seconds_per_tick();
    uint64_t count = search_record.count.load();
    double strip_start_time = platform_counter_now() * platform_seconds_per_tick();
    strip_from_record(record_first(), count, 0);
    double strip_seconds = platform_counter_now() * platform_seconds_per_tick() - strip_start_time;
    printf("the strip of a full record (%llu changes): %.2f ms\n",
           (unsigned long long)(count - record_first()), 1e3 * strip_seconds);
    printf("Home in a full record (%llu of %llu changes held): %.2f ms; End: %.3f ms\n",
           (unsigned long long)(count - record_first()), (unsigned long long)count,
           1e3 * (home_end - home_start), 1e3 * (end_end - home_end));
    return 0;
}
