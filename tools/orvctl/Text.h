// How orvctl shows a text or a buffer's content: between double quotes, printable ASCII
// as it is, '"' and '\' escaped, every other byte through byteFormat (\xNN by default;
// JSON output passes "\\u%04x").
#pragma once

#include <string>

namespace orvctl {

std::string Quoted(const std::string& text, const char* byteFormat = "\\x%02X");

} // namespace orvctl
