#pragma once
// The element reader for Magic Launcher's configuration text: "<" ... ">" elements that nest,
// with double-quoted text that is never markup.
#include <cstddef>
#include <string_view>

namespace oxlip {

// The next complete element at or after `*position` (its children inside), with `*position`
// moved past its ">". A ">" that closes the element being walked, or the end of the text,
// gives the empty result. Text between elements is skipped. When the text ends inside an
// element, the result is that element's text up to the end and `*cut_off` (when given) is set.
std::string_view NextTag(std::string_view text, std::size_t* position, bool* cut_off = nullptr);

}  // namespace oxlip
