#include "render/shader.h"

#include <cstdio>
#include <cstdlib>

#include "common/files.h"
#include "platform/platform.h"
#include "render/gl.h"
#include "render/matrix.h"

ShaderProgram shader_program;

static const char* const vertex_source_path = "shaders_desktop/vertex.c";
static const char* const fragment_source_path = "shaders_desktop/fragment.c";

// Room for a failure message and the GL log that explains it.
static constexpr int message_capacity = 4096;

// Reads a source whole and notes its modification time (0 when the stat fails).
// nullptr when the file cannot be read; the time is then left alone.
static char* read_source(const char* path, int64_t* mtime) {
    char* text = read_whole_file(path, nullptr);
    if (!text) return nullptr;
    if (!platform_file_mtime(path, mtime)) *mtime = 0;
    return text;
}

// Compiles the text into the shader; on failure the message names the file and
// carries the compiler's log.
static bool compile_source(uint32_t shader, const char* text, const char* path, char* message) {
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) return true;
    int used = snprintf(message, message_capacity, "the shader \"%s\" does not compile:\n", path);
    glGetShaderInfoLog(shader, message_capacity - used, nullptr, message + used);
    return false;
}

static bool link_program(uint32_t program, char* message) {
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked) return true;
    int used = snprintf(message, message_capacity, "\"%s\" and \"%s\" do not link:\n",
                        vertex_source_path, fragment_source_path);
    glGetProgramInfoLog(program, message_capacity - used, nullptr, message + used);
    return false;
}

// GL keeps the last good executable of a current program whose re-link fails,
// but drivers may then refuse its uniform updates (Mesa does), so new sources
// are linked into a scratch program first and the live one only when they link.
static bool sources_link(char* message) {
    uint32_t trial = glCreateProgram();
    glAttachShader(trial, shader_program.vertex_shader);
    glAttachShader(trial, shader_program.fragment_shader);
    bool linked = link_program(trial, message);
    glDeleteProgram(trial);
    return linked;
}

// A link resets every uniform and may move them, so after each one the program
// is made current, the locations are looked up and the defaults set again.
static void use_linked_program() {
    ShaderProgram& s = shader_program;
    glUseProgram(s.program);
    s.loc_projection_matrix = glGetUniformLocation(s.program, "projection_matrix");
    s.loc_model_matrix = glGetUniformLocation(s.program, "model_matrix");
    s.loc_color = glGetUniformLocation(s.program, "color");
    s.loc_alpha = glGetUniformLocation(s.program, "alpha");
    s.loc_no_texture = glGetUniformLocation(s.program, "no_texture");
    set_color_white();
    set_alpha(255);
    set_no_texture(0);
}

static bool load_stage(uint32_t shader, const char* path, int64_t* mtime, char* message) {
    char* text = read_source(path, mtime);
    if (!text) {
        snprintf(message, message_capacity, "cannot read the shader source \"%s\"", path);
        return false;
    }
    bool compiled = compile_source(shader, text, path, message);
    free(text);
    return compiled;
}

bool shader_load() {
    ShaderProgram& s = shader_program;
    char message[message_capacity];
    s.vertex_shader = glCreateShader(GL_VERTEX_SHADER);
    bool built = load_stage(s.vertex_shader, vertex_source_path, &s.vertex_mtime, message);
    if (built) {
        s.fragment_shader = glCreateShader(GL_FRAGMENT_SHADER);
        built = load_stage(s.fragment_shader, fragment_source_path, &s.fragment_mtime, message);
    }
    if (built) {
        s.program = glCreateProgram();
        glAttachShader(s.program, s.vertex_shader);
        glAttachShader(s.program, s.fragment_shader);
        built = link_program(s.program, message);
    }
    if (!built) {
        platform_report_error(message);
        return false;
    }
    use_linked_program();
    return true;
}

// Recompiles one stage whose file time differs from the stored one and re-links.
// A source that fails keeps the last good program drawing; its time is stored,
// so the failure is told once and the next save tries again.
static bool reload_stage(uint32_t shader, const char* path, int64_t* stored_mtime) {
    int64_t mtime = 0;
    if (!platform_file_mtime(path, &mtime) || mtime == 0 || mtime == *stored_mtime) return false;
    char* text = read_source(path, stored_mtime);
    if (!text) return false;
    char message[message_capacity];
    bool built = compile_source(shader, text, path, message);
    free(text);
    if (built) built = sources_link(message);
    if (built) built = link_program(shader_program.program, message);
    if (!built) {
        platform_write_message(message);
        return false;
    }
    use_linked_program();
    upload_projection_matrix();
    return true;
}

bool shader_reload_changed(double frame_start) {
    if (frame_start - shader_program.last_check_time <= 0.5) return false;
    shader_program.last_check_time = frame_start;
    bool vertex = reload_stage(shader_program.vertex_shader, vertex_source_path,
                               &shader_program.vertex_mtime);
    bool fragment = reload_stage(shader_program.fragment_shader, fragment_source_path,
                                 &shader_program.fragment_mtime);
    return vertex || fragment;
}

void shader_release() {
    ShaderProgram& s = shader_program;
    glDetachShader(s.program, s.vertex_shader);
    glDetachShader(s.program, s.fragment_shader);
    glDeleteShader(s.vertex_shader);
    glDeleteShader(s.fragment_shader);
    glDeleteProgram(s.program);
    s = {};
}

float color_channel(uint8_t byte) {
    return (float)(byte / 255.0);
}

void set_color(uint8_t r, uint8_t g, uint8_t b) {
    const float color[3] = {color_channel(r), color_channel(g), color_channel(b)};
    glUniform3fv(shader_program.loc_color, 1, color);
}

void set_color_white() {
    set_color(255, 255, 255);
}

void set_alpha(uint8_t alpha) {
    glUniform1f(shader_program.loc_alpha, color_channel(alpha));
}

void set_no_texture(int flag) {
    glUniform1i(shader_program.loc_no_texture, flag);
}

void upload_model_matrix() {
    glUniformMatrix4fv(shader_program.loc_model_matrix, 1, GL_TRUE, matrices.model.m);
}

void upload_projection_matrix() {
    glUniformMatrix4fv(shader_program.loc_projection_matrix, 1, GL_TRUE, matrices.projection.m);
}
