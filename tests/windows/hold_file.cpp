// Another program that holds a file open, as a viewer or a spreadsheet does:
// `vorelbox_hold_file FILE` opens FILE without sharing it for writing or
// removal, prints "held" and keeps it open until its standard input ends.
// The Windows tests of saving over a file that another program has open run it.
// `vorelbox_hold_file --check FILE` only says by its exit status whether FILE
// opens (0) or not (1); 2 is a wrong number of arguments.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

int main() {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const bool check = args != nullptr && count == 3 && std::wcscmp(args[1], L"--check") == 0;
    if (args == nullptr || (count != 2 && !check)) {
        std::fputs("usage: vorelbox_hold_file [--check] FILE\n", stderr);
        return 2;
    }
    const HANDLE file = ::CreateFileW(args[count - 1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open the file (error %lu)\n", ::GetLastError());
        return 1;
    }
    if (check) {
        ::CloseHandle(file);
        return 0;
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
