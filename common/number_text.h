// Numbers as the screen writes them: grouped by thousands with commas.
#pragma once

#include <cstdint>

// Room for the largest 64-bit number with its commas.
constexpr int number_text_size = 27;

// Writes "1,234,567" into `out` and returns its length.
int number_text(uint64_t number, char out[number_text_size]);
