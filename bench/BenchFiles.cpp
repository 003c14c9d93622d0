#include "BenchFiles.h"

#include <cstdio>
#include <cstdlib>

#include "Platform.h"

namespace orvbench {

std::string WindowsDirectory() {
#ifdef _WIN32
    char dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir, n);
#else
    const char* dir = std::getenv("ORVANE_WINDIR");
    return dir != nullptr && *dir != '\0' ? dir : ".";
#endif
}

std::string InWindowsDirectory(const char* name) {
#ifdef _WIN32
    return WindowsDirectory() + "\\" + name;
#else
    return WindowsDirectory() + "/" + name;
#endif
}

void WriteTextFile(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size()) {
        std::fprintf(stderr, "bench: cannot write %s\n", path.c_str());
        std::exit(2);
    }
    std::fclose(f);
#ifdef _WIN32
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
#endif
}

std::string MakeSampleProfile(std::size_t bytes) {
    const std::string tail =
        std::string("[") + kSampleSection + "]\n" + kSampleKey + "=" + kSampleValue + "\n";
    std::string text;
    text.reserve(bytes + 512);
    std::string section;
    char line[64];
    for (int number = 0;; ++number) {
        std::snprintf(line, sizeof line, "[section%06d]\n", number);
        section = line;
        for (int key = 0; key < 10; ++key) {
            std::snprintf(line, sizeof line, "key%d = value %06d.%d\n", key, number, key);
            section += line;
        }
        if (number > 0 && text.size() + section.size() + tail.size() > bytes) break;
        text += section;
    }
    return text + tail;
}

} // namespace orvbench
