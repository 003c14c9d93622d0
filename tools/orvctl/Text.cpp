#include "Text.h"

#include <cstdio>

namespace orvctl {

std::string Quoted(const std::string& text, const char* byteFormat) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, byteFormat, c);
            out += hex;
        }
    }
    return out + "\"";
}

} // namespace orvctl
