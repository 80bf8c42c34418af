// Whole-input reads and safe whole-file writes shared by every subsystem.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// No input is read past this: a file, standard input or a pipe.
constexpr size_t whole_input_limit = (size_t)128 << 20;

enum class ReadFailure : uint8_t { none, unreadable, too_large, no_memory };

// Reads a stream from where it is to its end, whatever it is (a file, a pipe,
// a terminal), into a new buffer with a zero byte after the data. Null with
// the failure when it cannot be read, holds more than whole_input_limit
// bytes, or cannot be held. The caller frees the buffer with free().
char* read_whole_stream(FILE* stream, size_t* length, ReadFailure* failure);

// Reads a file whole, in binary mode, as read_whole_stream does. Returns
// nullptr when the file cannot be opened, read or held; the length is stored
// only on success.
char* read_whole_file(const char* path, int32_t* length);

// Writes the bytes to a temporary file of this process beside `path`
// ("<path>.<process id>.tmp"), puts it on the disk and renames it over
// `path`, so the old file stays whole if anything fails. Returns success.
bool write_file_replacing(const char* path, const void* data, int32_t length);
