// The colours the game screen and its key card share.
#pragma once

#include <cstdint>

struct Rgba {
    uint8_t r, g, b, a;
};

constexpr Rgba background = {254, 235, 193, 255};
constexpr Rgba ink = {61, 37, 1, 255};
