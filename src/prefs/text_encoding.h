#pragma once
// Conversions between the program's narrow text and the UTF-8 of files with a byte-order mark.
#include <string>
#include <string_view>

namespace oxlip::prefs {

// Single-byte text as ISO 8859-1: each byte is the character of the same number.
std::string Latin1ToUtf8(std::string_view text);
// A character beyond ISO 8859-1, or a malformed sequence, becomes "?".
std::string Utf8ToLatin1(std::string_view text);
// Well-formed UTF-8 kept; every malformed sequence becomes "?".
std::string SanitizeUtf8(std::string_view text);

// The narrow text of this system is UTF-8 where it is not Windows, so no code page applies.
std::string NarrowToUtf8(std::string_view text);
std::string Utf8ToNarrow(std::string_view text);

}  // namespace oxlip::prefs
