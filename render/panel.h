// Nine-slice panels cut from "rounded_rect.png" and tinted.
#pragma once

#include <cstdint>

#include "render/renderer.h"
#include "render/shapes.h"
#include "render/texture.h"

struct Panel {
    float width;
    float height;
    Texture* texture;
    uint32_t band_buffers[3];
    uint32_t band_arrays[3];
};

constexpr int panel_capacity = 200;
constexpr int panel_band_vertices = 8;

// The 8 triangle-strip vertices of band 0 (top), 1 (middle) or 2 (bottom) of a
// W x H panel with corners K units square over an image `image_width` units wide.
void panel_band(int band, float width, float height, float corner, float image_width,
                Vertex out[panel_band_vertices]);

// Builds the bands; false when "rounded_rect.png" is not live or the registry is full.
bool panel_create(Panel* panel, Vec2 size);
// Draws the panel centred on a point, tinted by 0xAABBGGRR.
void panel_draw(const Panel* panel, Vec2 centre, uint32_t color);
void panels_release_all();
int panel_count();
