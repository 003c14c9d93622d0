// How orvctl shows a text or a buffer's content: between double quotes, printable ASCII
// as it is, '"' and '\' escaped, every other byte as \xNN.
#pragma once

#include <string>

namespace orvctl {

std::string Quoted(const std::string& text);

} // namespace orvctl
