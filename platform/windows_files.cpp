// Files, folders, the save folder's lock and other processes, on Windows.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "platform/platform.h"
#include "platform/windows_text.h"

// The saves' times are compared across folders with any name.
bool platform_file_mtime(const char* path, int64_t* mtime) {
    wchar_t wide[wide_path_capacity];
    struct _stat64i32 status;
    if (!to_wide(path, wide, wide_path_capacity) || _wstat64i32(wide, &status) != 0) return false;
    *mtime = (int64_t)status.st_mtime;
    return true;
}

// A virus scanner, the search indexer or a sync client may hold a new file
// open for a moment: a rename or removal it refuses is tried again until
// `give_up` (GetTickCount64 time). False when the last call's error is
// another one or the time is up.
static bool wait_while_held(ULONGLONG give_up) {
    DWORD error = GetLastError();
    bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                error == ERROR_LOCK_VIOLATION;
    if (!held || GetTickCount64() >= give_up) return false;
    Sleep(20);
    return true;
}

FILE* platform_open_file(const char* path, const char* mode) {
    wchar_t wide[wide_path_capacity], wide_mode[8];
    if (!to_wide(path, wide, wide_path_capacity) || !to_wide(mode, wide_mode, 8)) return nullptr;
    return _wfopen(wide, wide_mode);
}

bool platform_remove_file(const char* path) {
    wchar_t wide[wide_path_capacity];
    return to_wide(path, wide, wide_path_capacity) && DeleteFileW(wide);
}

bool platform_sync_file(FILE* file) {
    if (FlushFileBuffers((HANDLE)_get_osfhandle(_fileno(file)))) return true;
    // Devices and file systems that cannot flush say so; the data reaches them all the same.
    DWORD error = GetLastError();
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED;
}

bool platform_replace_file(const char* from, const char* to) {
    wchar_t wide_from[wide_path_capacity], wide_to[wide_path_capacity];
    if (!to_wide(from, wide_from, wide_path_capacity) || !to_wide(to, wide_to, wide_path_capacity))
        return false;
    ULONGLONG give_up = GetTickCount64() + 200;
    while (!MoveFileExW(wide_from, wide_to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (!wait_while_held(give_up)) return false;
    }
    return true;
}

bool platform_make_folder(const char* path) {
    wchar_t wide[wide_path_capacity];
    if (!to_wide(path, wide, wide_path_capacity)) return false;
    if (CreateDirectoryW(wide, nullptr)) return true;
    DWORD attributes = GetFileAttributesW(wide);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool platform_folder_writable(const char* prefix) {
    char probe[1040];
    int n = snprintf(probe, sizeof(probe), "%s.write-probe.%u", prefix, platform_process_id());
    wchar_t wide[wide_path_capacity];
    if (n < 0 || n >= (int)sizeof(probe) || !to_wide(probe, wide, wide_path_capacity)) return false;
    // A probe left by a killed process of the same id is taken over.
    HANDLE file = CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    ULONGLONG give_up = GetTickCount64() + 100;
    while (!DeleteFileW(wide) && wait_while_held(give_up)) {
    }
    return true;
}

// A known folder, or the folder `child` in it, as UTF-8 with a separator at
// its end; made when missing if `make` is set.
static bool known_folder(REFKNOWNFOLDERID id, const wchar_t* child, char* out, int capacity,
                         bool make) {
    PWSTR known = nullptr;
    bool found = SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &known));
    wchar_t folder[wide_path_capacity];
    size_t length = found ? wcslen(known) : 0;
    size_t child_length = wcslen(child);
    found = found && length + child_length + 1 <= (size_t)wide_path_capacity;
    if (found) {
        wmemcpy(folder, known, length);
        wmemcpy(folder + length, child, child_length + 1);
    }
    // The folder's path is the caller's to free, found or not.
    CoTaskMemFree(known);
    if (!found) return false;
    if (make && !CreateDirectoryW(folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    int n = WideCharToMultiByte(CP_UTF8, 0, folder, -1, out, capacity - 1, nullptr, nullptr);
    if (n <= 0) return false;
    out[n - 1] = '\\';
    out[n] = 0;
    return true;
}

bool platform_user_data_folder(char* out, int capacity, bool make) {
    return known_folder(FOLDERID_LocalAppData, L"\\Tessarin", out, capacity, make);
}

bool platform_pictures_folder(char* out, int capacity) {
    return known_folder(FOLDERID_Pictures, L"", out, capacity, true);
}

void platform_list_folder(const char* prefix, void (*visit)(const char* name, void* context),
                          void* context) {
    char pattern[1040];
    wchar_t wide[wide_path_capacity];
    int n = snprintf(pattern, sizeof(pattern), "%s*", prefix);
    if (n < 0 || n >= (int)sizeof(pattern) || !to_wide(pattern, wide, wide_path_capacity)) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char name[MAX_PATH * 3];
        if (WideCharToMultiByte(CP_UTF8, 0, found.cFileName, -1, name, sizeof(name), nullptr,
                                nullptr) > 0)
            visit(name, context);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool platform_process_running(uint32_t id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    // A process of another user may refuse us, but it is there.
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

// The lock is the open handle: others may read the file (our id) but not
// open it for writing until the process ends.
FolderLock platform_lock_folder(const char* prefix) {
    wchar_t wide[wide_path_capacity];
    if (!lock_path(prefix, wide)) return FolderLock::failed;
    HANDLE file = CreateFileW(wide, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_SHARING_VIOLATION ? FolderLock::held_by_another
                                                         : FolderLock::failed;
    }
    char id[16];
    int n = snprintf(id, sizeof(id), "%lu\n", GetCurrentProcessId());
    DWORD written = 0;
    if (WriteFile(file, id, (DWORD)n, &written, nullptr)) SetEndOfFile(file);
    return FolderLock::taken;
}
