#pragma once
// The newest change in a folder's tree, which tells whether anything there is new.
#include <string>

#include "platform/dates.h"

namespace oxlip {

// The newest modification date of any file in the folder's tree; 0 when there is none.
platform::DateValue NewestFileDate(const std::string& folder);

}  // namespace oxlip
