#pragma once
// Finding the delta commands that rebuild a file from its old content.
#include <string>
#include <string_view>

namespace oxlip::mkpatch {

// The command stream, end command included, that turns `old_content` into `target`. A copy
// can only read near the output position (offsets -128 to 127), so the search looks there:
// at each position it takes the longest run of old bytes found at any of those offsets, when
// it is long enough for a copy, and inserts the byte otherwise.
std::string EncodeDelta(std::string_view old_content, std::string_view target);

}  // namespace oxlip::mkpatch
