// Whole-file reads and safe whole-file writes shared by every subsystem.
#pragma once

#include <cstdint>

// Reads a file whole, in binary mode, into a new buffer with a zero byte after
// the data. Returns nullptr when the file cannot be opened, sized or held; the
// length is stored only on success. The caller frees the buffer with free().
char* read_whole_file(const char* path, int32_t* length);

// Writes the bytes to a temporary file of this process beside `path`
// ("<path>.<process id>.tmp"), puts it on the disk and renames it over
// `path`, so the old file stays whole if anything fails. Returns success.
bool write_file_replacing(const char* path, const void* data, int32_t length);
