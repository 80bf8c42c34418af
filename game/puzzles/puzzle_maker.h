// Making puzzles by how long the program's own search takes on them: one
// solution, no given to spare, and a step count in the chosen range.
#pragma once

#include <cstdint>

enum class PuzzleLength : uint8_t { short_search, medium, long_search, very_long };
constexpr int puzzle_length_count = 4;

// Steps in (least, most]; short's least is 0.
struct LengthRange {
    uint64_t least, most;
    const char* name;
};
extern const LengthRange puzzle_lengths[puzzle_length_count];

struct MadePuzzle {
    uint8_t cells[81]; // row-major, 0 for empty
    uint64_t steps;    // the in-order search's steps on it
};

// Deterministic for a seed; different seeds give different puzzles. Touches
// nothing global, so it can run on a thread of its own beside the game.
void make_puzzle(PuzzleLength length, uint64_t seed, MadePuzzle* out);
