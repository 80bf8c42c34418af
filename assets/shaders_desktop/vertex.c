#version 330 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texture_coordinate;

uniform mat4 projection_matrix;
uniform mat4 model_matrix;

out vec2 uv;

void main() {
    uv = texture_coordinate;
    gl_Position = projection_matrix * model_matrix * vec4(position, 1.0);
}
