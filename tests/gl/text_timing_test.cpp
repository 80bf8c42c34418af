// How long the program's four fonts take to register, baked and from the
// cache, and to bake again for a smaller window. Prints the figures; speed is not asserted.
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
    // A window dragged smaller bakes them again at its scale.
    auto start = std::chrono::steady_clock::now();
    fit_texts_to_scale(0.75f);
    glFinish();
    double fitted =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    printf("four program fonts: cold (baked) %.1f ms, warm (cached) %.1f ms, at 0.75 %.1f ms\n",
           cold, warm, fitted);
    reset_text_state();
}
