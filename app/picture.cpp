// The picture of the board: drawn off the window, cut to the grid and the
// line under the palette, written as a PNG.
#include "app/picture.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/app.h"
#include "common/files.h"
#include "game/board/notice.h"
#include "game/screen/game_screen.h"
#include "platform/platform.h"
#include "render/capture.h"
#include "render/gl.h"
#include "render/renderer.h"
#include "text/text_object.h"

bool picture_path(const char* extension, char* out, int capacity, const char** why) {
    char folder[900];
    if (!platform_pictures_folder(folder, sizeof(folder))) {
        *why = "no pictures folder can be had";
        return false;
    }
    time_t now = time(nullptr);
    char stamp[32];
    strftime(stamp, sizeof(stamp), "%Y-%m-%d-%H%M%S", localtime(&now));
    for (int copy = 1; copy < 100; copy++) {
        char number[8] = "";
        if (copy > 1) snprintf(number, sizeof(number), "-%d", copy);
        int n =
            snprintf(out, (size_t)capacity, "%stessarin-%s%s.%s", folder, stamp, number, extension);
        if (n < 0 || n >= capacity) break;
        if (platform_path_kind(out, nullptr) == PathKind::missing) return true;
    }
    *why = "no free name in the pictures folder";
    return false;
}

// Pixel rows of a band of logical units at `scale`.
static int pixel_row(float units, float scale) {
    return (int)lroundf(units * scale);
}

// The grid, then the line and strip, one below the other, as RGBA rows; null
// when there is no memory for them.
static uint8_t* read_bands(const Capture& capture, float scale, int* height) {
    ScreenBands bands = screen_bands();
    int grid_top = pixel_row(bands.grid_top, scale);
    int grid_rows = pixel_row(bands.grid_bottom, scale) - grid_top;
    int line_top = pixel_row(bands.line_top, scale);
    int line_rows = bands.line_bottom > 0 ? pixel_row(bands.line_bottom, scale) - line_top : 0;
    if (line_top + line_rows > capture.height) line_rows = capture.height - line_top;
    if (line_rows < 0) line_rows = 0;
    *height = grid_rows + line_rows;
    size_t row = 4 * (size_t)capture.width;
    uint8_t* rows = (uint8_t*)malloc(row * (size_t)*height);
    if (!rows) return nullptr;
    capture_read(&capture, 0, grid_top, capture.width, grid_rows, rows);
    if (line_rows)
        capture_read(&capture, 0, line_top, capture.width, line_rows, rows + row * grid_rows);
    return rows;
}

bool draw_off_window(float scale, void (*draw)(const Capture& capture, void* context),
                     void* context) {
    int window_width, window_height;
    glfwGetFramebufferSize(main_window, &window_width, &window_height);
    Capture capture;
    bool drawn = capture_begin(&capture, (int)ceilf(layout_units_width * scale),
                               (int)ceilf(layout_units_height * scale));
    if (drawn) {
        game_resize(view_width, view_height);
        fit_texts_to_scale(view_scale);
        glClear(GL_COLOR_BUFFER_BIT);
        draw(capture, context);
        capture_end(&capture, window_width, window_height);
    }
    set_viewport((uint16_t)window_width, (uint16_t)window_height);
    game_resize(view_width, view_height);
    return drawn;
}

struct Picture {
    double now;
    uint8_t* rows;
    int width, height;
};

static void draw_picture(const Capture& capture, void* context) {
    Picture* picture = (Picture*)context;
    draw_game_screen(picture->now);
    picture->width = capture.width;
    picture->rows = read_bands(capture, view_scale, &picture->height);
}

void save_picture(double now) {
    // Sharp enough for a slide even from a small window.
    Picture picture = {now, nullptr, 0, 0};
    draw_off_window(fmaxf(view_scale, 2), draw_picture, &picture);
    int length = 0;
    uint8_t* png =
        picture.rows ? encode_png(picture.rows, picture.width, picture.height, &length) : nullptr;
    free(picture.rows);
    char path[1024], words[notice_capacity];
    const char* why = "the picture could not be drawn";
    if (png && picture_path("png", path, sizeof(path), &why)) {
        why = "the pictures folder cannot be written";
        if (write_file_replacing(path, png, length)) why = nullptr;
    }
    free(png);
    if (why)
        snprintf(words, sizeof(words), "no picture saved: %s", why);
    else
        snprintf(words, sizeof(words), "picture saved: %.110s", path);
    post_notice(words, now);
}
