// How long the program's four fonts take to register, baked and from the
// cache, and (with the line's wide font) to bake again for a smaller window
// and for full screen on 1920 x 1080 and 3840 x 2160. Prints the figures;
// speed is not asserted.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "gl/text_support.h"
#include "render/gl.h"

namespace {

struct ProgramFont {
    const char* key;
    const char* file;
    uint8_t size;
};

const ProgramFont program_fonts[] = {
    {"loading_font", "PoetsenOne-Regular.ttf", 32},
    {"title_font", "PoetsenOne-Regular.ttf", 64},
    {"digit_font", "arialbd.ttf", 32},
    {"solve_font", "PoetsenOne-Regular.ttf", 36},
};

double register_program_fonts() {
    auto start = std::chrono::steady_clock::now();
    for (const ProgramFont& f : program_fonts)
        EXPECT_NE(register_font(f.key, f.file, f.size), nullptr) << f.key;
    glFinish();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

TEST(FontTiming, ProgramFontsColdAndWarm) {
    reset_text_state();
    double cold = register_program_fonts();
    for (const ProgramFont& f : program_fonts) {
        std::string cache = "tmp/font." + std::string(f.key) + "." + std::to_string(f.size);
        EXPECT_TRUE(std::filesystem::exists(cache)) << cache;
    }
    clear_fonts();
    textures_release_all();
    double warm = register_program_fonts();
    ASSERT_NE(register_wide_font("status_font", "arialbd.ttf", 14), nullptr);
    // A window dragged smaller, or full screen, bakes them again at its scale:
    // the frame after the resize waits for it.
    double fitted[3];
    const float scales[3] = {0.75f, 1.125f, 2.25f};
    for (int i = 0; i < 3; i++) {
        auto start = std::chrono::steady_clock::now();
        fit_texts_to_scale(scales[i]);
        glFinish();
        fitted[i] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    }
    printf("four program fonts: cold (baked) %.1f ms, warm (cached) %.1f ms; with the line's "
           "font baked again at 0.75 %.1f ms, at 1.125 %.1f ms, at 2.25 %.1f ms (goal: 50)\n",
           cold, warm, fitted[0], fitted[1], fitted[2]);
    reset_text_state();
}
