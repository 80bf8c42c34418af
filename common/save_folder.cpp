#include "common/save_folder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "common/files.h"
#include "platform/platform.h"

SaveFolder save_folder;

// The user's data folder, made when missing, when it is not the save folder
// yet and a file can be made there.
static bool usable_user_folder(char* folder, int capacity) {
    return platform_user_data_folder(folder, capacity, true) &&
           strcmp(folder, save_folder.prefix) != 0 && platform_folder_writable(folder);
}

void choose_save_folder() {
    save_folder.prefix[0] = 0;
    if (!platform_user_data_folder(save_folder.user_prefix, sizeof(save_folder.user_prefix),
                                   false)) {
        save_folder.user_prefix[0] = 0;
    }
    if (platform_folder_writable("")) return;
    char folder[sizeof(save_folder.prefix)];
    if (usable_user_folder(folder, sizeof(folder)))
        memcpy(save_folder.prefix, folder, sizeof(folder));
}

bool claim_save_folder() {
    return platform_lock_folder(save_folder.prefix) != FolderLock::held_by_another;
}

bool move_to_user_folder() {
    char folder[sizeof(save_folder.prefix)];
    if (!usable_user_folder(folder, sizeof(folder))) return false;
    if (platform_lock_folder(folder) == FolderLock::held_by_another) return false;
    memcpy(save_folder.prefix, folder, sizeof(folder));
    return true;
}

bool read_newer_save(const char* name, bool (*take)(const char* bytes, int32_t length)) {
    const char* other = save_folder.prefix[0] ? "" : save_folder.user_prefix;
    char paths[2][1024];
    snprintf(paths[0], sizeof(paths[0]), "%s%s", save_folder.prefix, name);
    snprintf(paths[1], sizeof(paths[1]), "%s%s", other, name);
    int64_t times[2] = {-1, -1};
    platform_file_mtime(paths[0], &times[0]);
    platform_file_mtime(paths[1], &times[1]);
    int newer = times[1] > times[0] ? 1 : 0;
    for (int k = 0; k < 2; k++) {
        int32_t length = 0;
        char* bytes = read_whole_file(paths[k == 0 ? newer : 1 - newer], &length);
        bool taken = bytes && take(bytes, length);
        free(bytes);
        if (taken) return true;
    }
    return false;
}

// A write killed before its rename may leave its temporary file for good.
static const int64_t stale_seconds = 60 * 60;

struct Sweep {
    const char* folder;
    const char* start;
    int64_t now;
};

// The writer's process id in "<start>...<id>.tmp", 0 for any other name.
static uint32_t temporary_owner(const char* name, const char* start) {
    size_t length = strlen(name), start_length = strlen(start);
    if (length < start_length + 5 || strncmp(name, start, start_length) != 0 ||
        strcmp(name + length - 4, ".tmp") != 0)
        return 0;
    const char* digits = name + length - 4;
    while (digits > name + start_length && digits[-1] >= '0' && digits[-1] <= '9') digits--;
    if (digits[-1] != '.' || digits == name + length - 4) return 0;
    unsigned long id = strtoul(digits, nullptr, 10);
    return id <= UINT32_MAX ? (uint32_t)id : 0;
}

static void sweep_entry(const char* name, void* context) {
    const Sweep* sweep = (const Sweep*)context;
    uint32_t owner = temporary_owner(name, sweep->start);
    char path[1100];
    int64_t mtime = 0;
    if (!owner || snprintf(path, sizeof(path), "%s%s", sweep->folder, name) >= (int)sizeof(path) ||
        !platform_file_mtime(path, &mtime))
        return;
    if (platform_process_running(owner) && sweep->now - mtime < stale_seconds) return;
    platform_remove_file(path);
}

void sweep_stale_temporaries() {
    int64_t now = (int64_t)time(nullptr);
    Sweep saves = {save_folder.prefix, "autosave.", now};
    platform_list_folder(saves.folder, sweep_entry, &saves);
    Sweep sessions = {save_folder.prefix, "session.", now};
    platform_list_folder(sessions.folder, sweep_entry, &sessions);
    char cache[sizeof(save_folder.prefix) + 8];
    snprintf(cache, sizeof(cache), "%stmp/", save_folder.prefix);
    Sweep fonts = {cache, "font.", now};
    platform_list_folder(fonts.folder, sweep_entry, &fonts);
}
