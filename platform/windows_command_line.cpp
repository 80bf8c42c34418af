// The command line, the console and the paths a user names, on Windows.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/windows_text.h"

char** windows_arguments(int* argc) {
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), argc);
    if (!wide) {
        *argc = 0;
        return nullptr;
    }
    // Held for the run: the arguments are read until the program ends.
    char** argv = (char**)calloc((size_t)*argc + 1, sizeof(char*));
    for (int i = 0; argv && i < *argc; i++) {
        int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        argv[i] = (char*)malloc((size_t)(bytes > 0 ? bytes : 1));
        if (argv[i] && !from_wide(wide[i], argv[i], bytes)) argv[i][0] = 0;
    }
    LocalFree(wide);
    if (!argv) *argc = 0;
    return argv;
}

PathKind platform_path_kind(const char* path, int64_t* size) {
    wchar_t wide[wide_path_capacity];
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!to_wide(path, wide, wide_path_capacity)) return PathKind::missing;
    if (!GetFileAttributesExW(wide, GetFileExInfoStandard, &data)) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? PathKind::missing
                   : PathKind::unreadable;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::folder;
    *size = (int64_t)data.nFileSizeHigh << 32 | data.nFileSizeLow;
    return PathKind::file;
}

char* platform_absolute_path(const char* path) {
    wchar_t wide[wide_path_capacity], full[wide_path_capacity];
    if (!to_wide(path, wide, wide_path_capacity)) return nullptr;
    DWORD length = GetFullPathNameW(wide, wide_path_capacity, full, nullptr);
    if (length == 0 || length >= (DWORD)wide_path_capacity) return nullptr;
    int bytes = WideCharToMultiByte(CP_UTF8, 0, full, -1, nullptr, 0, nullptr, nullptr);
    char* absolute = bytes > 0 ? (char*)malloc((size_t)bytes) : nullptr;
    if (absolute && !from_wide(full, absolute, bytes)) {
        free(absolute);
        return nullptr;
    }
    return absolute;
}

static bool handle_given(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE;
}

// A -mwindows program has no console; started from one, it prints there,
// unless its output was sent elsewhere.
void platform_use_console_output() {
    bool output_given = handle_given(STD_OUTPUT_HANDLE);
    bool error_given = handle_given(STD_ERROR_HANDLE);
    if ((output_given && error_given) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!output_given && freopen("CONOUT$", "w", stdout)) setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!error_given && freopen("CONOUT$", "w", stderr)) setvbuf(stderr, nullptr, _IONBF, 0);
}
