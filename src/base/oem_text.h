#pragma once
// Paths as they are put into an archiver command line.
#include <string>

namespace oxlip {

// The text converted for an archiver command line; the identity where text is UTF-8.
std::string ToOemText(const std::string& text);

}  // namespace oxlip
