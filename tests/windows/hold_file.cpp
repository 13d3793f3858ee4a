// Another program that holds a file open, as a viewer or a spreadsheet does:
// `vorelbox_hold_file FILE` opens FILE without sharing it for writing or
// removal, prints "held" and keeps it open until its standard input ends.
// The Windows tests of saving over a file that another program has open run it.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

int main() {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (args == nullptr || count != 2) {
        std::fputs("usage: vorelbox_hold_file FILE\n", stderr);
        return 2;
    }
    const HANDLE file = ::CreateFileW(args[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open the file (error %lu)\n", ::GetLastError());
        return 1;
    }
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    char buffer[64];
    DWORD got = 0;
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    while (::ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
    ::CloseHandle(file);
    return 0;
}
