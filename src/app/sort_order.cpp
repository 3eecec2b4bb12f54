#include "app/sort_order.h"

#include <string_view>
#include <unordered_map>

#include "platform/fs.h"

namespace oxlip::app {

std::optional<std::vector<std::string>> ReadSortOrder(const std::string& path) {
  std::optional<std::string> bytes = platform::ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes->size()) {
    size_t end = bytes->find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes->size();
    lines.push_back(bytes->substr(pos, end - pos));
    pos = end;
    if (pos < bytes->size() && (*bytes)[pos] == '\r') ++pos;
    if (pos < bytes->size() && (*bytes)[pos] == '\n') ++pos;
  }
  return lines;
}

bool WriteSortOrder(const std::string& path, const std::vector<std::string>& folders) {
  std::string text;
  for (const std::string& folder : folders) text += folder + "\r\n";
  return platform::ReplaceFileContents(path, text);
}

std::vector<size_t> DisplayOrder(const std::vector<std::string>& folders,
                                 const std::vector<std::string>& lines) {
  // By name, as thousands of lines meet thousands of folders.
  std::unordered_map<std::string_view, std::vector<size_t>> by_folder;
  for (size_t i = 0; i < folders.size(); ++i) by_folder[folders[i]].push_back(i);
  std::vector<size_t> order;
  std::vector<bool> listed(folders.size(), false);
  for (const std::string& line : lines) {
    auto found = by_folder.find(line);
    if (found == by_folder.end()) continue;
    for (size_t i : found->second) {
      if (listed[i]) continue;
      listed[i] = true;
      order.push_back(i);
    }
  }
  for (size_t i = 0; i < folders.size(); ++i)
    if (!listed[i]) order.push_back(i);
  return order;
}

}  // namespace oxlip::app
