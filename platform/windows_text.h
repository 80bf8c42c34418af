// UTF-8 and the wide strings of Windows' own calls, for the Windows sources.
#pragma once

#include <windows.h>

#include <cstdio>

// The longest path the program makes, in UTF-16 units.
static const int wide_path_capacity = 1040;

// The program's own paths are UTF-8; the ANSI calls would turn what is not
// in the user's code page into question marks.
inline bool to_wide(const char* utf8, wchar_t* out, int capacity) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, out, capacity) > 0;
}

inline bool from_wide(const wchar_t* wide, char* out, int capacity) {
    return WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, capacity, nullptr, nullptr) > 0;
}

// The lock file of a save folder, given as a path prefix, as a wide path.
inline bool lock_path(const char* prefix, wchar_t* out) {
    char path[1040];
    int n = snprintf(path, sizeof(path), "%s.lock", prefix);
    return n > 0 && n < (int)sizeof(path) && to_wide(path, out, wide_path_capacity);
}

// The command line as UTF-8, made once for the run.
char** windows_arguments(int* argc);
