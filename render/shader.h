// The one shader program, its uniforms and the watch on its source files.
#pragma once

#include <cstdint>

struct ShaderProgram {
    uint32_t program;
    uint32_t vertex_shader;
    uint32_t fragment_shader;
    int32_t loc_projection_matrix;
    int32_t loc_model_matrix;
    int32_t loc_color;
    int32_t loc_alpha;
    int32_t loc_no_texture;
    int64_t vertex_mtime;
    int64_t fragment_mtime;
    double last_check_time;
};

extern ShaderProgram shader_program;

// Builds the program from "shaders_desktop/vertex.c" and "fragment.c" and makes
// it current. False (with the file and GL log reported) when it cannot.
bool shader_load();
// At most every half second: recompiles a source whose mtime changed. True
// when one did, so the screen is drawn again.
bool shader_reload_changed(double frame_start);
void shader_release();

// A colour byte, 0 to 255, as the 0 to 1 value GL takes.
float color_channel(uint8_t byte);
// Per-draw uniforms, from colour bytes.
void set_color(uint8_t r, uint8_t g, uint8_t b);
void set_color_white();
void set_alpha(uint8_t alpha);
void set_no_texture(int flag);
void upload_model_matrix();
void upload_projection_matrix();
