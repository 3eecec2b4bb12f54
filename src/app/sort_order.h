#pragma once
// "sort.ini": the display order of the instances, one folder name per CR LF line.
#include <optional>
#include <string>
#include <vector>

namespace oxlip::app {

// The lines of the file; nothing when it cannot be opened.
std::optional<std::vector<std::string>> ReadSortOrder(const std::string& path);
// False when the file cannot be written; the old file then stays.
bool WriteSortOrder(const std::string& path, const std::vector<std::string>& folders);

// Positions of `folders` in display order: those named by `lines` first (each once, even when
// named on several lines; exact case), then the rest in their own order.
std::vector<size_t> DisplayOrder(const std::vector<std::string>& folders,
                                 const std::vector<std::string>& lines);

}  // namespace oxlip::app
