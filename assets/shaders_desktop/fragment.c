#version 330 core

in vec2 uv;

uniform sampler2D image;
uniform vec3 color;
uniform float alpha;
uniform int no_texture;

out vec4 fragment_color;

void main() {
    vec4 texel = no_texture != 0 ? vec4(1.0) : texture(image, uv);
    fragment_color = texel * vec4(color, alpha);
}
