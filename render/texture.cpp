#include "render/texture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/files.h"
#include "platform/platform.h"
#include "render/gl.h"
#include "render/renderer.h"

TexturePool textures;

Texture* texture_acquire(const char* key) {
    for (Texture& slot : textures.slots) {
        if (slot.in_use) continue;
        slot.in_use = 1;
        slot.next = textures.head;
        textures.head = &slot;
        snprintf(slot.key, sizeof(slot.key), "%s", key);
        return &slot;
    }
    return nullptr;
}

Texture* texture_from_image(const char* key) {
    Texture* texture = texture_acquire(key);
    char message[320];
    if (!texture) {
        snprintf(message, sizeof(message), "no free texture for the image \"%s\"", key);
        platform_report_error(message);
        return nullptr;
    }
    char path[sizeof(texture->path)];
    snprintf(path, sizeof(path), "images/%s", key);
    // Above one pixel per unit a sharper copy may exist; without one the plain
    // image serves.
    if (pixel_scale > 1) {
        char sharper[sizeof(texture->path)];
        snprintf(sharper, sizeof(sharper), "images_x2/%s", key);
        FILE* file = fopen(sharper, "rb");
        if (file) {
            fclose(file);
            texture->double_density = 1;
            memcpy(path, sharper, sizeof(path));
        }
    }
    if (texture_load(texture, path)) return texture;
    snprintf(message, sizeof(message), "cannot load the image \"%s\": missing or not a PNG", path);
    platform_report_error(message);
    texture_release(texture);
    return nullptr;
}

uint32_t gl_texture_create(int filter) {
    uint32_t name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    return name;
}

bool texture_load(Texture* texture, const char* path) {
    // The time is taken before the read, so a save that lands during the read
    // is seen by the next check.
    int64_t mtime = 0;
    if (!platform_file_mtime(path, &mtime)) mtime = 0;
    int32_t length = 0;
    unsigned char* bytes = (unsigned char*)read_whole_file(path, &length);
    if (!bytes) return false;
    Image image;
    bool decoded = image_decode(bytes, length, &image);
    free(bytes);
    if (!decoded) return false;

    if (strcmp(texture->path, path) != 0)
        snprintf(texture->path, sizeof(texture->path), "%s", path);
    texture->mtime = mtime;
    texture->width = (uint16_t)(texture->double_density ? image.width / 2 : image.width);
    texture->height = (uint16_t)(texture->double_density ? image.height / 2 : image.height);

    uint32_t former = texture->gl_texture;
    texture->gl_texture = gl_texture_create(GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.pixels);
    image_free(&image);
    // Nothing refers to the former texture once the record holds the new one.
    if (former) glDeleteTextures(1, &former);
    return true;
}

void texture_release(Texture* texture) {
    for (Texture** link = &textures.head; *link; link = &(*link)->next) {
        if (*link != texture) continue;
        glDeleteTextures(1, &texture->gl_texture);
        *link = texture->next;
        *texture = {};
        return;
    }
}

void textures_release_all() {
    for (Texture* texture = textures.head; texture; texture = texture->next)
        glDeleteTextures(1, &texture->gl_texture);
    textures = {};
}

bool textures_reload_changed(double frame_start) {
    if (frame_start - textures.last_check_time <= 0.5) return false;
    textures.last_check_time = frame_start;
    bool reloaded = false;
    for (Texture* texture = textures.head; texture; texture = texture->next) {
        if (texture->generated) continue;
        int64_t mtime = 0;
        if (!platform_file_mtime(texture->path, &mtime) || mtime == 0 || mtime == texture->mtime)
            continue;
        // A file that does not decode (perhaps still being written) keeps the
        // current image and its time, so the next check tries again.
        if (texture_load(texture, texture->path)) reloaded = true;
    }
    return reloaded;
}
