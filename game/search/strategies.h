// The ways of searching: each a depth-first search that changes the board one
// cell at a time, so everything that watches a search works for each.
#pragma once

#include <cstdint>

// In order: the first empty cell in reading order, its candidates rising.
// Fewest: the empty cell with the fewest candidates, the first on ties.
// Singles: every cell or house with one choice first, then as fewest.
// Cover: the exact-cover constraint (a cell, or a digit in a house) with
// the fewest options.
enum class Strategy : uint8_t { in_order, fewest, singles, cover };
constexpr int strategy_count = 4;

// "in order", "fewest candidates", "singles first", "exact cover".
extern const char* const strategy_names[strategy_count];
// The command line's words: "in-order", "fewest", "singles", "cover".
extern const char* const strategy_keys[strategy_count];

// What a search without a board made of a puzzle.
struct PlainResult {
    bool solved;
    // Ran past its step cap or its time: the counts are where it stopped.
    bool capped;
    uint64_t steps;
    uint64_t changes;
    // The solution when solved, else the givens.
    uint8_t cells[81];
};

// Searches `givens` (81 cells row-major, 0 for empty) on a plain board of its
// own at full speed: no shared cells, no record. Stops after `step_cap` steps
// or `seconds` (0 for no limit). Touches nothing global, so any thread may.
PlainResult search_plain(Strategy strategy, const uint8_t givens[81], uint64_t step_cap,
                         double seconds);
