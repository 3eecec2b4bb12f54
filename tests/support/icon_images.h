#pragma once
// Real image files for icon tests; each size is distinct, so a loaded icon tells which file
// it came from.
#include <string>

namespace oxlip::test {

void WritePng(const std::string& path, int width, int height);
void WriteJpeg(const std::string& path, int width, int height);
void WriteBmp(const std::string& path, int width, int height);

}  // namespace oxlip::test
