/* Windows helper of the smoke test: holds a file open without sharing, as a
   virus scanner or a sync client may, for the given milliseconds. The wide
   command line keeps folder names outside the ANSI code page. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(void) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    puts("held");
    fflush(stdout);
    Sleep((DWORD)_wtoi(argv[2]));
    CloseHandle(file);
    return 0;
}
