#include "BenchFiles.h"

#include <cstdio>

namespace orvbench {

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
