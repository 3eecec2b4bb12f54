#include "mirror_tree.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace oxlip::test {

void WriteServedFile(const std::string& root, const std::string& relative,
                     const std::string& data) {
  std::string path = root + relative;
  WriteFile(path, data);
  auto time = std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(kFileTime));
  std::filesystem::last_write_time(path, time);
}

std::string Element(const std::string& xml, const std::string& tag) {
  size_t start = xml.find("<" + tag + ">");
  if (start == std::string::npos) return "";
  start += tag.size() + 2;
  size_t end = xml.find("</" + tag + ">", start);
  return end == std::string::npos ? "" : xml.substr(start, end - start);
}

std::string UrlEncode(const std::string& text) {
  std::string out;
  for (char c : text) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
    out += std::isalnum(static_cast<unsigned char>(c)) ? std::string(1, c) : std::string(hex);
  }
  return out;
}

std::string XmlUnescape(const std::string& text) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.compare(i, std::strlen(entity), entity) != 0) continue;
      out += c;
      i += std::strlen(entity) - 1;
      replaced = true;
      break;
    }
    if (!replaced) out += text[i];
  }
  return out;
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
