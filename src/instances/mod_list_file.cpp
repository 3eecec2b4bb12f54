#include "instances/mod_list_file.h"

namespace oxlip::instances {

std::vector<std::string> ParseModListText(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    bool crlf = text.compare(end, 2, "\r\n") == 0;
    start = end + (crlf ? 2 : 1);
  }
  return lines;
}

std::string ModListText(const std::vector<std::string>& mods) {
  std::string text;
  for (const auto& mod : mods) text += mod + "\r\n";
  return text;
}

}  // namespace oxlip::instances
