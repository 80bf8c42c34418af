#include "common/files.h"

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

char* read_whole_file(const char* path, int32_t* length) {
    FILE* file = fopen(path, "rb");
    if (!file) return nullptr;
    char* buffer = nullptr;
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0) size = ftell(file);
    if (size >= 0 && size < INT32_MAX && fseek(file, 0, SEEK_SET) == 0) {
        buffer = (char*)malloc((size_t)size + 1);
        if (buffer && fread(buffer, 1, (size_t)size, file) != (size_t)size) {
            free(buffer);
            buffer = nullptr;
        }
    }
    fclose(file);
    if (!buffer) return nullptr;
    buffer[size] = 0;
    if (length) *length = (int32_t)size;
    return buffer;
}

bool write_file_replacing(const char* path, const void* data, int32_t length) {
    char temporary[1040];
    int n = snprintf(temporary, sizeof(temporary), "%s.tmp", path);
    if (n < 0 || n >= (int)sizeof(temporary)) return false;
    FILE* file = fopen(temporary, "wb");
    if (!file) return false;
    bool written = fwrite(data, 1, (size_t)length, file) == (size_t)length;
    written = fflush(file) == 0 && written;
    written = fclose(file) == 0 && written;
    if (written && platform_replace_file(temporary, path)) return true;
    remove(temporary);
    return false;
}
