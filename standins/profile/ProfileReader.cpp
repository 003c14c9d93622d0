// Native stand-in for the Windows profile reader, GetPrivateProfileStringA.
//
// INI rules, as the Windows profile functions apply them (tests/config/ProfileCorpusTest.cpp
// holds them to the real function): lines end at LF (a CR before it is dropped); blanks
// around section names, key names and values are ignored, also inside a header's brackets;
// there is no comment syntax: a line that is neither a section nor holds '=' is no key, a
// ';' line is a key whose name starts with ';', and a ';' after a value belongs to the
// value; keys before the first section are in no named section; the first section of a
// name counts and, in it, the first key of a name, both matched without regard to ASCII
// case; a key with an empty value is found and gives the empty text, not the default; a
// value between a matching pair of quotes (' or ") loses them before it is cut to the
// buffer; the default loses its trailing spaces. A file name without a directory is looked
// for in $ORVANE_WINDIR, else in the current directory.
#include "win32/win32_standin.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

std::string ResolvePath(const char* file) {
    if (std::strchr(file, '/') != nullptr || std::strchr(file, '\\') != nullptr) return file;
    const char* dir = std::getenv("ORVANE_WINDIR");
    return (dir != nullptr && *dir != '\0') ? std::string(dir) + "/" + file : std::string(file);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Trim(const char* begin, const char* end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

bool SameName(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
        if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// The value of key in the first section called section, or false when there is none.
bool FindValue(const std::string& text, const char* section, const char* key, std::string* value) {
    bool sectionSeen = false; // the first section of that name has begun
    bool inSection = false;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', end - p));
        if (eol == nullptr) eol = end;
        const char* s = p;
        p = eol < end ? eol + 1 : end;
        while (s < eol && IsBlank(*s)) ++s;
        if (s < eol && *s == '[') {
            if (sectionSeen) return false; // only the first section of the name counts
            const char* close = static_cast<const char*>(std::memchr(s, ']', eol - s));
            inSection = SameName(Trim(s + 1, close != nullptr ? close : eol), section);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection) continue;
        const char* eq = static_cast<const char*>(std::memchr(s, '=', eol - s));
        if (eq == nullptr || !SameName(Trim(s, eq), key)) continue;
        *value = Trim(eq + 1, eol);
        return true;
    }
    return false;
}

} // namespace

extern "C" DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buffer,
                                          DWORD size, LPCSTR file) {
    if (buffer == nullptr || size == 0) return 0;
    std::string value = def != nullptr ? def : "";
    value.erase(value.find_last_not_of(' ') + 1); // npos + 1 == 0: only spaces, nothing left
    if (section != nullptr && key != nullptr && file != nullptr) {
        std::ifstream in(ResolvePath(file), std::ios::binary);
        // A file that opens but cannot be read (a directory of that name) counts as absent,
        // as on Windows; copying through the stream reports the error instead of throwing.
        std::ostringstream contents;
        if (in && contents << in.rdbuf()) {
            const std::string text = contents.str();
            std::string found;
            if (FindValue(text, section, key, &found)) {
                if (found.size() >= 2 && (found[0] == '"' || found[0] == '\'') &&
                    found.back() == found[0])
                    found = found.substr(1, found.size() - 2);
                value = found;
            }
        }
    }
    const std::size_t n = std::min<std::size_t>(std::strlen(value.c_str()), size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}
