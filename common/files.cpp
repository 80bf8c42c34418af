#include "common/files.h"

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

char* read_whole_file(const char* path, int32_t* length) {
    FILE* file = platform_open_file(path, "rb");
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
    // The process id in the name keeps two copies of the program that save
    // into one folder from writing into the same temporary file.
    char temporary[1040];
    int n = snprintf(temporary, sizeof(temporary), "%s.%u.tmp", path, platform_process_id());
    if (n < 0 || n >= (int)sizeof(temporary)) return false;
    FILE* file = platform_open_file(temporary, "wb");
    if (!file) return false;
    bool written = fwrite(data, 1, (size_t)length, file) == (size_t)length;
    // On the disk before the rename, so a power cut leaves the old file or the new one.
    written = fflush(file) == 0 && written && platform_sync_file(file);
    written = fclose(file) == 0 && written;
    if (written && platform_replace_file(temporary, path)) return true;
    platform_remove_file(temporary);
    return false;
}
