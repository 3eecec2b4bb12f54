#pragma once
// The build date in an instance's ".minecraft\bin\version": two marker bytes, then the date
// in milliseconds as decimal text.
#include <string_view>

#include "platform/dates.h"

namespace oxlip::instances {

// The date in seconds: the first line after the two marker bytes without its last three
// characters, read as a decimal number; 0 when it does not begin with a number.
platform::DateValue ReadVersionFileDate(std::string_view bytes);

}  // namespace oxlip::instances
