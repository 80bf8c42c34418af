#include "common/files.h"

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

static char* refuse_read(char* buffer, ReadFailure why, ReadFailure* failure) {
    free(buffer);
    *failure = why;
    return nullptr;
}

char* read_whole_stream(FILE* stream, size_t* length, ReadFailure* failure) {
    // A file's size is known, and it is read in one go; a pipe's is not, and
    // the buffer grows as it comes. One byte more than the data always: the
    // zero, and a read that finds the end.
    size_t capacity = (size_t)1 << 16;
    long start = ftell(stream), end = -1;
    if (start >= 0 && fseek(stream, 0, SEEK_END) == 0) end = ftell(stream);
    if (end >= start && start >= 0 && fseek(stream, start, SEEK_SET) == 0) {
        if ((size_t)(end - start) > whole_input_limit)
            return refuse_read(nullptr, ReadFailure::too_large, failure);
        capacity = (size_t)(end - start) + 2;
    }
    clearerr(stream);
    char* buffer = (char*)malloc(capacity);
    if (!buffer) return refuse_read(nullptr, ReadFailure::no_memory, failure);
    size_t used = 0;
    for (;;) {
        if (used + 1 == capacity) {
            if (used > whole_input_limit)
                return refuse_read(buffer, ReadFailure::too_large, failure);
            size_t larger =
                capacity * 2 < whole_input_limit + 2 ? capacity * 2 : whole_input_limit + 2;
            char* grown = (char*)realloc(buffer, larger);
            if (!grown) return refuse_read(buffer, ReadFailure::no_memory, failure);
            buffer = grown;
            capacity = larger;
        }
        size_t got = fread(buffer + used, 1, capacity - 1 - used, stream);
        if (got == 0) break;
        used += got;
    }
    if (ferror(stream)) return refuse_read(buffer, ReadFailure::unreadable, failure);
    buffer[used] = 0;
    *length = used;
    *failure = ReadFailure::none;
    return buffer;
}

char* read_whole_file(const char* path, int32_t* length) {
    FILE* file = platform_open_file(path, "rb");
    if (!file) return nullptr;
    size_t size = 0;
    ReadFailure failure;
    char* buffer = read_whole_stream(file, &size, &failure);
    fclose(file);
    if (buffer && length) *length = (int32_t)size;
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
