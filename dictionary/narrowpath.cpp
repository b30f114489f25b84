#include "dictionary/narrowpath.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

std::filesystem::path NarrowFileName(const std::string& name) {
#ifdef _WIN32
    if (name.empty()) {
        return {};
    }
    // The same conversion CreateFileA makes, so both find the same file or neither does.
    const UINT codePage = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    const int length = static_cast<int>(name.size());
    const int size = MultiByteToWideChar(codePage, 0, name.data(), length, nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, name.data(), length, wide.data(), size);
    return std::filesystem::path(wide);
#else
    return std::filesystem::path(name);
#endif
}
