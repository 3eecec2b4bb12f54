#pragma once
// Letter case as the program's names compare where case does not count (names a person types,
// names from records, wildcards): ASCII letters only, so the other bytes of a UTF-8 name are
// never touched, whatever the locale.
#include <string>
#include <string_view>

namespace oxlip::platform {

char LowerAscii(char c);
std::string LowerAscii(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view head);
bool EndsWithNoCase(std::string_view text, std::string_view tail);

}  // namespace oxlip::platform
