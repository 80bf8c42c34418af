// The depth profile of the search for the strip, in runs of changes.
#include "game/watch/search_strip.h"

SearchStrip search_strip;

void strip_start(uint64_t first, int depth) {
    search_strip.first = first;
    search_strip.through = first;
    search_strip.run_length = 1;
    search_strip.runs_used = 0;
    search_strip.depth = depth;
}

// Two runs become one, so the strip holds twice as many changes.
static void halve_runs() {
    SearchStrip& strip = search_strip;
    for (int i = 0; i < strip_runs / 2; i++) {
        DepthRun a = strip.runs[2 * i], b = strip.runs[2 * i + 1];
        if (2 * i + 1 >= strip.runs_used) b = a;
        strip.runs[i] = {a.low < b.low ? a.low : b.low, a.high > b.high ? a.high : b.high};
    }
    strip.runs_used = (strip.runs_used + 1) / 2;
    strip.run_length *= 2;
}

static void take_depth(uint64_t change, int depth) {
    SearchStrip& strip = search_strip;
    uint64_t run = (change - strip.first) / strip.run_length;
    while (run >= (uint64_t)strip_runs) {
        halve_runs();
        run = (change - strip.first) / strip.run_length;
    }
    uint8_t d = (uint8_t)(depth < 0 ? 0 : depth);
    if ((int)run >= strip.runs_used) {
        strip.runs[run] = {d, d};
        strip.runs_used = (int)run + 1;
        return;
    }
    DepthRun& r = strip.runs[run];
    if (d < r.low) r.low = d;
    if (d > r.high) r.high = d;
}

void strip_take_changes(uint64_t to) {
    SearchStrip& strip = search_strip;
    for (; strip.through < to; strip.through++) {
        strip.depth += change_depth_step(recorded_change(strip.through));
        take_depth(strip.through, strip.depth);
    }
}

void strip_from_record(uint64_t first, uint64_t count, int last_depth) {
    strip_start(first, 0);
    if (count <= first) {
        search_strip.depth = last_depth;
        return;
    }
    int length_bits = 0;
    while ((count - first) > ((uint64_t)strip_runs << length_bits)) length_bits++;
    // One pass, run by run, with depths relative to the first state; then
    // moved so that the last one is right.
    static int16_t lows[strip_runs], highs[strip_runs];
    int runs = 0;
    int depth = 0;
    for (uint64_t k = first; k < count; runs++) {
        uint64_t end = k + ((uint64_t)1 << length_bits);
        if (end > count) end = count;
        int low = 255, high = -255;
        for (; k < end; k++) {
            depth += change_depth_step(recorded_change(k));
            if (depth < low) low = depth;
            if (depth > high) high = depth;
        }
        lows[runs] = (int16_t)low;
        highs[runs] = (int16_t)high;
    }
    int offset = last_depth - depth;
    for (int r = 0; r < runs; r++) {
        int low = lows[r] + offset, high = highs[r] + offset;
        search_strip.runs[r] = {(uint8_t)(low < 0 ? 0 : low), (uint8_t)(high < 0 ? 0 : high)};
    }
    search_strip.run_length = (uint64_t)1 << length_bits;
    search_strip.runs_used = runs;
    search_strip.through = count;
    search_strip.depth = last_depth;
}

bool strip_depths(uint64_t from, uint64_t to, int* low, int* high) {
    const SearchStrip& strip = search_strip;
    if (to > strip.through) to = strip.through;
    if (from < strip.first) from = strip.first;
    if (from >= to) return false;
    uint64_t first_run = (from - strip.first) / strip.run_length;
    uint64_t last_run = (to - 1 - strip.first) / strip.run_length;
    *low = 255;
    *high = 0;
    for (uint64_t r = first_run; r <= last_run && r < (uint64_t)strip.runs_used; r++) {
        if (strip.runs[r].low < *low) *low = strip.runs[r].low;
        if (strip.runs[r].high > *high) *high = strip.runs[r].high;
    }
    return true;
}
