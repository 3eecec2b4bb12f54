#include "altlauncher/next_tag.h"

namespace oxlip {

std::string_view NextTag(std::string_view text, std::size_t* position, bool* cut_off) {
  if (cut_off) *cut_off = false;
  if (*position > text.size()) *position = text.size();
  int depth = 0;
  bool quoted = false;
  std::size_t start = *position;
  for (; *position < text.size(); ++*position) {
    char c = text[*position];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == '<') {
      if (depth == 0) start = *position;
      ++depth;
    } else if (!quoted && c == '>') {
      --depth;
      if (depth == 0) {
        ++*position;
        return text.substr(start, *position - start);
      }
      if (depth < 0) {
        ++*position;
        return {};
      }
    }
  }
  if (depth == 0) return {};  // only text between elements was left
  if (cut_off) *cut_off = true;
  return text.substr(start);
}

}  // namespace oxlip
