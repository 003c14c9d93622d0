// Small operations on terminated 8-bit texts in fixed-size buffers. No locale, no heap.
#pragma once

#include <cstddef>

namespace orv {

// True when the first n characters of a and b match with only the ASCII letters A-Z
// folded, or both end at the same place before n; a text that ends within n characters
// while the other goes on is unequal. Bytes 0x80-0xFF compare unchanged.
bool PrefixEqualsIgnoreCase(const char* a, const char* b, std::size_t n);

// Appends src to the text in dst (a buffer of size bytes), cutting it so that dst stays
// terminated within its buffer.
void AppendText(char* dst, std::size_t size, const char* src);

} // namespace orv
