#pragma once
// Entry names read from an archive are outside data: nothing may lead out of the output folder.
#include <optional>
#include <string>
#include <string_view>

namespace oxlip::archive {

// The name as a relative "a/b/c" path; "" when it names nothing ("", ".", "./"), such entries
// are passed over; nothing when it is absolute ("/x", "\x", "C:x") or holds a ".." part, which
// makes the whole archive unsafe.
std::optional<std::string> SafeEntryPath(std::string_view name);

}  // namespace oxlip::archive
