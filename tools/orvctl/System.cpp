#include "System.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace orvctl {

#ifdef _WIN32

const char kDefaultLibrary[] = "Orvane.dll";

namespace {
std::string ErrorText(DWORD code) {
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, sizeof text, nullptr);
    std::string s = text;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    return "error " + std::to_string(code) + (s.empty() ? "" : ": " + s);
}
} // namespace

void* OpenLibrary(const std::string& path, std::string* error) {
    // A missing library or dependency is reported here, never in a dialog box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const bool hasDirectory = path.find_first_of("\\/:") != std::string::npos;
    HMODULE module = hasDirectory ? LoadLibraryExA(AbsolutePath(path).c_str(), nullptr,
                                                   LOAD_WITH_ALTERED_SEARCH_PATH)
                                  : LoadLibraryA(path.c_str());
    if (module == nullptr) *error = ErrorText(GetLastError());
    return reinterpret_cast<void*>(module);
}

ExportedFunction FindExport(void* library, const char* name) {
    const FARPROC f = GetProcAddress(static_cast<HMODULE>(library), name);
    return reinterpret_cast<ExportedFunction>(reinterpret_cast<void (*)()>(f));
}

std::string AbsolutePath(const std::string& path) {
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

std::string ConfigPath(const char* name) {
    char dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir, n) + "\\" + name;
}

#else

const char kDefaultLibrary[] = "libOrvane.so";

void* OpenLibrary(const std::string& path, std::string* error) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) *error = dlerror();
    return library;
}

ExportedFunction FindExport(void* library, const char* name) {
    return reinterpret_cast<ExportedFunction>(dlsym(library, name));
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char dir[4096];
    return getcwd(dir, sizeof dir) != nullptr ? std::string(dir) + "/" + path : path;
}

std::string ConfigPath(const char* name) {
    const char* dir = std::getenv("ORVANE_WINDIR");
    return AbsolutePath(dir != nullptr && *dir != '\0' ? std::string(dir) + "/" + name : name);
}

#endif

} // namespace orvctl
