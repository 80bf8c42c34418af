// Puzzles made by the length of the program's own search on them.
#include "game/puzzles/puzzle_maker.h"

#include "game/board/rules.h"
#include "game/board/solution_count.h"
#include "game/search/strategies.h"

const LengthRange puzzle_lengths[puzzle_length_count] = {
    {0, 2000, "short"},
    {2000, 100000, "medium"},
    {100000, 5000000, "long"},
    {5000000, 200000000, "very long"},
};

// splitmix64: small, fast and good enough to shuffle a grid.
struct Rng {
    uint64_t state;
};

static uint64_t next_random(Rng& rng) {
    uint64_t z = (rng.state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

// A number in [0, n).
static int random_below(Rng& rng, int n) {
    return (int)(((next_random(rng) >> 32) * (uint64_t)n) >> 32);
}

template <typename T> static void shuffle(Rng& rng, T* items, int count) {
    for (int i = count - 1; i > 0; i--) {
        int j = random_below(rng, i + 1);
        T item = items[i];
        items[i] = items[j];
        items[j] = item;
    }
}

// Completes the grid at random: the most constrained cell first, its digits
// in random order. From an empty grid it hardly ever has to back up.
static bool fill_at_random(uint8_t grid[81], Houses& houses, Rng& rng) {
    int best = -1;
    int best_count = 10;
    unsigned best_candidates = 0;
    for (int cell = 0; cell < 81; cell++) {
        if (grid[cell]) continue;
        unsigned candidates = candidates_of(houses, cell);
        int count = digit_count(candidates);
        if (count < best_count) {
            best = cell;
            best_count = count;
            best_candidates = candidates;
        }
    }
    if (best < 0) return true;
    uint8_t digits[9];
    int count = 0;
    for (int digit = 1; digit <= 9; digit++)
        if (best_candidates & digit_bit(digit)) digits[count++] = (uint8_t)digit;
    shuffle(rng, digits, count);
    for (int i = 0; i < count; i++) {
        grid[best] = digits[i];
        flip_digit(houses, best, digit_bit(digits[i]));
        if (fill_at_random(grid, houses, rng)) return true;
        flip_digit(houses, best, digit_bit(digits[i]));
    }
    grid[best] = 0;
    return false;
}

// A minimal puzzle of the full grid: each given, in random order, goes while
// the solution stays the only one. One pass is enough: a given that had to
// stay would have to again with fewer around it. Band by band, the first
// band loses the most: its rows hold the fewest givens.
static void remove_givens(const uint8_t grid[81], bool band_by_band, Rng& rng, uint8_t puzzle[81]) {
    uint8_t order[81];
    for (int cell = 0; cell < 81; cell++) {
        puzzle[cell] = grid[cell];
        order[cell] = (uint8_t)cell;
    }
    if (band_by_band) {
        for (int band = 0; band < 3; band++) shuffle(rng, order + 27 * band, 27);
    } else {
        shuffle(rng, order, 81);
    }
    for (int i = 0; i < 81; i++) {
        int cell = order[i];
        uint8_t digit = puzzle[cell];
        puzzle[cell] = 0;
        if (count_solutions(puzzle, 2) != 1) puzzle[cell] = digit;
    }
}

// Where each cell of the transformed board comes from: rows and columns
// reordered within the bands and stacks and the bands and stacks themselves,
// after an optional transposition.
struct Layout {
    uint8_t rows[9], columns[9];
    bool transpose;
};

static void random_lines(Rng& rng, uint8_t lines[9]) {
    uint8_t blocks[3] = {0, 1, 2};
    shuffle(rng, blocks, 3);
    for (int block = 0; block < 3; block++) {
        uint8_t within[3] = {0, 1, 2};
        shuffle(rng, within, 3);
        for (int i = 0; i < 3; i++) lines[3 * block + i] = (uint8_t)(3 * blocks[block] + within[i]);
    }
}

static int source_cell(const Layout& layout, int cell) {
    int row = layout.rows[cell / 9], column = layout.columns[cell % 9];
    return layout.transpose ? 9 * column + row : 9 * row + column;
}

// The bands, and the rows in each, with the fewest givens first (ties in
// the random order they had): the search then starts where it is least held.
static void sparse_rows_first(const uint8_t puzzle[81], Layout& layout) {
    int givens[9] = {};
    for (int cell = 0; cell < 81; cell++) {
        if (puzzle[cell]) givens[layout.transpose ? cell % 9 : cell / 9]++;
    }
    uint8_t bands[3] = {(uint8_t)(layout.rows[0] / 3), (uint8_t)(layout.rows[3] / 3),
                        (uint8_t)(layout.rows[6] / 3)};
    uint8_t rows[9];
    for (int i = 0; i < 9; i++) rows[i] = layout.rows[i];
    // Insertion sorts keep ties in order.
    for (int i = 1; i < 3; i++) {
        for (int j = i; j > 0; j--) {
            int before = bands[j - 1], after = bands[j];
            int before_givens =
                givens[3 * before] + givens[3 * before + 1] + givens[3 * before + 2];
            int after_givens = givens[3 * after] + givens[3 * after + 1] + givens[3 * after + 2];
            if (after_givens >= before_givens) break;
            bands[j - 1] = (uint8_t)after;
            bands[j] = (uint8_t)before;
        }
    }
    for (int band = 0; band < 3; band++) {
        // The band's rows in the order the random layout had them.
        uint8_t* lines = layout.rows + 3 * band;
        int k = 0;
        for (int i = 0; i < 9; i++)
            if (rows[i] / 3 == bands[band]) lines[k++] = rows[i];
        for (int i = 1; i < 3; i++) {
            for (int j = i; j > 0 && givens[lines[j]] < givens[lines[j - 1]]; j--) {
                uint8_t line = lines[j];
                lines[j] = lines[j - 1];
                lines[j - 1] = line;
            }
        }
    }
}

// How the digits are relabelled. The search tries digits in rising order,
// so the digits the solution holds in its first open cells decide most of
// its length: low there, it goes straight through; high, it first tries and
// takes back every lower one.
enum class Labels : uint8_t { rising, falling, random };

static void choose_labels(const uint8_t puzzle[81], const uint8_t solution[81], Labels labels,
                          Rng& rng, uint8_t digits[10]) {
    for (int digit = 0; digit < 10; digit++) digits[digit] = 0;
    if (labels == Labels::random) {
        uint8_t order[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        shuffle(rng, order, 9);
        for (int digit = 1; digit <= 9; digit++) digits[digit] = order[digit - 1];
        return;
    }
    // Labels by the order the digits first come in the open cells, then the
    // digits no open cell holds.
    int next = labels == Labels::rising ? 1 : 9;
    int step = labels == Labels::rising ? 1 : -1;
    for (int pass = 0; pass < 2; pass++) {
        for (int cell = 0; cell < 81; cell++) {
            if (pass == 0 && puzzle[cell]) continue;
            uint8_t digit = solution[cell];
            if (digits[digit]) continue;
            digits[digit] = (uint8_t)next;
            next += step;
        }
    }
}

struct Recipe {
    Labels labels;
    // Givens taken from the first band first, and the emptiest rows put first.
    bool sparse_first;
    // Layouts tried on one minimal puzzle before a new one is made: some
    // puzzles come near a length in no layout.
    int layouts_per_puzzle;
};

// What each length tends to come out of, as measured: rising labels give
// the short searches, random ones medium, falling ones long, and falling
// ones with the emptiest rows first the very long.
static const Recipe recipes[puzzle_length_count] = {
    {Labels::rising, false, 30},
    {Labels::random, false, 30},
    {Labels::falling, false, 30},
    {Labels::falling, true, 10},
};

void make_puzzle(PuzzleLength length, uint64_t seed, MadePuzzle* out) {
    const LengthRange range = puzzle_lengths[(int)length];
    const Recipe recipe = recipes[(int)length];
    Rng rng = {seed};
    for (;;) {
        uint8_t grid[81] = {};
        Houses houses = {};
        fill_at_random(grid, houses, rng);
        uint8_t puzzle[81];
        remove_givens(grid, recipe.sparse_first, rng, puzzle);
        for (int attempt = 0; attempt < recipe.layouts_per_puzzle; attempt++) {
            Layout layout;
            random_lines(rng, layout.rows);
            random_lines(rng, layout.columns);
            layout.transpose = random_below(rng, 2) != 0;
            if (recipe.sparse_first) sparse_rows_first(puzzle, layout);
            uint8_t moved[81], moved_solution[81];
            for (int cell = 0; cell < 81; cell++) {
                int source = source_cell(layout, cell);
                moved[cell] = puzzle[source];
                moved_solution[cell] = grid[source];
            }
            uint8_t digits[10];
            choose_labels(moved, moved_solution, recipe.labels, rng, digits);
            for (int cell = 0; cell < 81; cell++) out->cells[cell] = digits[moved[cell]];
            uint64_t steps = search_plain(Strategy::in_order, out->cells, range.most, 0).steps;
            if (steps > range.least && steps <= range.most) {
                out->steps = steps;
                return;
            }
        }
    }
}
