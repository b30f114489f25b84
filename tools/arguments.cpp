#include "tools/arguments.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>

#include <cstdio>
#include <exception>
#endif

namespace {

#ifdef _WIN32
std::string WideToUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back(); // the terminator the conversion counted
    return result;
}

std::string AnsiToUtf8(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    return WideToUtf8(wide.c_str());
}
#endif

} // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    std::vector<std::string> arguments;
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    // The runtime and the shell split a command line alike; should they ever disagree on the
    // count, argv is still right, only limited to what the code page can show.
    if (wide != nullptr && count == argc) {
        for (int i = 1; i < count; ++i) {
            arguments.push_back(WideToUtf8(wide[i]));
        }
    } else {
        for (int i = 1; i < argc; ++i) {
            arguments.push_back(AnsiToUtf8(argv[i]));
        }
    }
    if (wide != nullptr) {
        LocalFree(wide);
    }
#else
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
#endif
    return arguments;
}

std::filesystem::path PathFromUtf8(const std::string& name) {
#ifdef _WIN32
    try {
        return std::filesystem::path(std::u8string(name.begin(), name.end()));
    } catch (const std::exception&) {
        // Not UTF-8 after all: the runtime still opens the name as ANSI text.
        return std::filesystem::path(name);
    }
#else
    return std::filesystem::path(name);
#endif
}

void BinaryStandardInput() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
}
