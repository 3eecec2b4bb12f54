#include "mirror_tree.h"

#include <sstream>

namespace oxlip::test {

std::string Element(const std::string& xml, const std::string& tag) {
  size_t start = xml.find("<" + tag + ">");
  if (start == std::string::npos) return "";
  start += tag.size() + 2;
  size_t end = xml.find("</" + tag + ">", start);
  return end == std::string::npos ? "" : xml.substr(start, end - start);
}

std::vector<std::string> ContentsLines(const std::string& xml) {
  std::vector<std::string> lines;
  std::istringstream in(xml);
  for (std::string line; std::getline(in, line);)
    if (line.find("<Contents>") != std::string::npos) lines.push_back(line);
  return lines;
}

std::vector<std::string> ListedKeys(const std::string& xml) {
  std::vector<std::string> keys;
  for (const std::string& line : ContentsLines(xml)) keys.push_back(Element(line, "Key"));
  return keys;
}

}  // namespace oxlip::test
