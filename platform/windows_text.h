// UTF-8 and the wide strings of Windows' own calls, for the Windows sources.
#pragma once

#include <windows.h>

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

// The command line as UTF-8, made once for the run.
char** windows_arguments(int* argc);
