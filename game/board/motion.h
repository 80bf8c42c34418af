// Whether a part of the program changes the screen by itself, for the frame
// loop: still (nothing to draw until input comes), waiting (a worker counts,
// and its result wants a frame as soon as it is there) or moving (a frame
// every frame). A part that moves more wins: std::max of two.
#pragma once

#include <cstdint>

enum class Motion : uint8_t { still, waiting, moving };
