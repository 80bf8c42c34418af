// UTF-8 and the wide strings of Windows' own calls, for the Windows sources.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>

// The longest path Windows takes, in UTF-16 units.
static const int wide_path_capacity = 32768;

// The program's own paths are UTF-8; the ANSI calls would turn what is not
// in the user's code page into question marks. A drive path too long for
// the plain calls gets the prefix that lifts their limit.
inline bool to_wide(const char* utf8, wchar_t* out, int capacity) {
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, out, capacity);
    if (length <= 0) return false;
    bool drive_path = length > 3 && out[1] == L':' && (out[2] == L'\\' || out[2] == L'/');
    if (length < MAX_PATH || !drive_path) return true;
    if (length + 4 > capacity) return false;
    memmove(out + 4, out, (size_t)length * sizeof(wchar_t));
    memcpy(out, L"\\\\?\\", 4 * sizeof(wchar_t));
    // The prefixed form takes no forward slashes.
    for (int i = 4; out[i]; i++)
        if (out[i] == L'/') out[i] = L'\\';
    return true;
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
