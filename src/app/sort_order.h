#pragma once
// "sort.ini": the display order of the instances, one folder name per CR LF line.
#include <optional>
#include <string>
#include <vector>

namespace oxlip {

// The lines of the file; nothing when it cannot be opened.
std::optional<std::vector<std::string>> ReadSortOrder(const std::string& path);
// False when the file cannot be written; the old file then stays.
bool WriteSortOrder(const std::string& path, const std::vector<std::string>& folders);

// Positions of `folders` in display order: those named by `lines` first (each once, even when
// named on several lines; exact case), then the rest in their own order.
std::vector<size_t> DisplayOrder(const std::vector<std::string>& folders,
                                 const std::vector<std::string>& lines);

}  // namespace oxlip

namespace oxlip {

// Moves the row `from` to `to` as a drop does: removed first, then inserted at `to`, so a row
// dragged down lands after the drop row and one dragged up before it. False when nothing moves.
template <class T>
bool MoveRow(std::vector<T>& rows, int from, int to) {
  int count = static_cast<int>(rows.size());
  if (to < 0 || to == from || from < 0 || from >= count) return false;
  T moved = std::move(rows[from]);
  rows.erase(rows.begin() + from);
  if (to > static_cast<int>(rows.size())) to = static_cast<int>(rows.size());
  rows.insert(rows.begin() + to, std::move(moved));
  return true;
}

}  // namespace oxlip
