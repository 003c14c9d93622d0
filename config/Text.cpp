#include "Text.h"

namespace orv {

namespace {
unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}
} // namespace

bool PrefixEqualsIgnoreCase(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = FoldAscii(static_cast<unsigned char>(a[i]));
        const unsigned char cb = FoldAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb) return false;
        if (ca == '\0') return true;
    }
    return true;
}

void AppendText(char* dst, std::size_t size, const char* src) {
    if (size == 0) return;
    std::size_t at = 0;
    while (at < size - 1 && dst[at] != '\0')
        ++at;
    while (at < size - 1 && *src != '\0')
        dst[at++] = *src++;
    dst[at] = '\0';
}

} // namespace orv
