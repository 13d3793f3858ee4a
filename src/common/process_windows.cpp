// Starting a program on Windows: CreateProcessW with a command line that
// CommandLineToArgvW splits back into the same arguments, then waiting for it.

#include "process.h"

#include <windows.h>

#include <iostream>

#include "windows_text.h"

namespace vorelbox::common {
namespace {

// One argument as the C runtime and CommandLineToArgvW read it back: quoted
// when it holds a blank or a quote, backslashes doubled before a quote.
std::wstring quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            out.append(backslashes * 2 + 1, L'\\');
        } else {
            out.append(backslashes, L'\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

}  // namespace

std::string own_program_file(const char*) {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return {};
        }
        if (length < name.size()) {
            name.resize(length);
            return to_utf8(name);
        }
        name.resize(name.size() * 2);
    }
}

std::string program_file_name(const std::string& name) {
    return name + ".exe";
}

int run_program(const std::string& program, const std::vector<std::string>& args) {
    const std::wstring file = to_wide(program);
    std::wstring command = quoted(file);
    for (const std::string& a : args) {
        command += L' ';
        command += quoted(to_wide(a));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::cout.flush();
    if (!::CreateProcessW(file.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        return -1;
    }
    ::CloseHandle(info.hThread);
    ::WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    const bool known = ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    return known ? static_cast<int>(code) : -1;
}

}  // namespace vorelbox::common
