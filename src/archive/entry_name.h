#pragma once
// Entry names read from an archive are outside data: nothing may lead out of the output folder.
#include <optional>
#include <string>
#include <string_view>

namespace oxlip::archive {

// The name as a relative "a/b/c" path, or nothing when it is empty, absolute ("/x", "\x",
// "C:x") or holds a ".." part.
std::optional<std::string> SafeEntryPath(std::string_view name);

// True when a link stored at `link_path` (relative to the output folder) pointing at `target`
// resolves to a place inside the output folder, judged by the names alone ("..", if any, only
// at the start).
bool LinkStaysInside(std::string_view link_path, std::string_view target);

}  // namespace oxlip::archive
