#include "common/save_folder.h"

#include <cstring>

#include "platform/platform.h"

SaveFolder save_folder;

void choose_save_folder() {
    save_folder.prefix[0] = 0;
    if (platform_folder_writable("")) return;
    char folder[sizeof(save_folder.prefix)];
    if (platform_user_data_folder(folder, sizeof(folder)) && platform_folder_writable(folder)) {
        memcpy(save_folder.prefix, folder, sizeof(folder));
    }
}
