// The user's pictures folder, as the XDG user directories name it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "platform/platform.h"

// The folder user-dirs.dirs names: XDG_PICTURES_DIR="$HOME/Pictures" or an
// absolute path, in double quotes. False for none or any other form.
static bool folder_in_user_dirs(const char* home, char* out, int capacity) {
    char path[1024];
    const char* config = getenv("XDG_CONFIG_HOME");
    int n = config && config[0] == '/'
                ? snprintf(path, sizeof(path), "%s/user-dirs.dirs", config)
                : snprintf(path, sizeof(path), "%s/.config/user-dirs.dirs", home);
    if (n < 0 || n >= (int)sizeof(path)) return false;
    FILE* file = fopen(path, "r");
    if (!file) return false;
    char line[1024];
    bool found = false;
    while (!found && fgets(line, sizeof(line), file)) {
        static const char key[] = "XDG_PICTURES_DIR=\"";
        if (strncmp(line, key, sizeof(key) - 1) != 0) continue;
        char* value = line + sizeof(key) - 1;
        char* end = strchr(value, '"');
        if (!end) break;
        *end = 0;
        if (strncmp(value, "$HOME/", 6) == 0)
            n = snprintf(out, (size_t)capacity, "%s/%s/", home, value + 6);
        else if (value[0] == '/')
            n = snprintf(out, (size_t)capacity, "%s/", value);
        else
            break;
        found = n > 0 && n < capacity;
    }
    fclose(file);
    return found;
}

bool platform_pictures_folder(char* out, int capacity) {
    const char* home = getenv("HOME");
    const char* pictures = getenv("XDG_PICTURES_DIR");
    int n = 0;
    if (pictures && pictures[0] == '/') {
        n = snprintf(out, (size_t)capacity, "%s/", pictures);
    } else if (!home || home[0] != '/') {
        return false;
    } else if (!folder_in_user_dirs(home, out, capacity)) {
        n = snprintf(out, (size_t)capacity, "%s/Pictures/", home);
    }
    if (n < 0 || n >= capacity) return false;
    // The folder itself only: a home that is missing is not made.
    size_t length = strlen(out);
    out[length - 1] = 0;
    bool exists = mkdir(out, 0755) == 0 || errno == EEXIST;
    out[length - 1] = '/';
    return exists;
}
