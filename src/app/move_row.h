#pragma once
// Reordering a list the way a drop on the instance list does.
#include <utility>
#include <vector>

namespace oxlip::app {

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

}  // namespace oxlip::app
