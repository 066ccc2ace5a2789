#include "ConsoleSysteme.h"

#include "util/TexteWindows.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// argv is in the ANSI code page, which cannot name every file: the wide command line can.
std::vector<std::string> PreparerConsole(int, char**) {
    // The same bytes as on Linux: no "\r" added before each "\n".
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The console shows the UTF-8 the command writes.
    SetConsoleOutputCP(CP_UTF8);
    int n = 0;
    wchar_t** larges = CommandLineToArgvW(GetCommandLineW(), &n);
    std::vector<std::string> args;
    for (int i = 1; i < n; ++i)
        args.push_back(DepuisLarge(larges[i]));
    LocalFree(larges);
    return args;
}
