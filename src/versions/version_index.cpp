#include "versions/version_index.h"

#include <cstdint>

#include "platform/file_append.h"

namespace oxlip {
namespace {

// A line ends at CR, LF or CR LF; false at the end of the bytes.
bool ReadLine(std::string_view bytes, size_t& pos, std::string& line) {
  if (pos >= bytes.size()) return false;
  size_t end = bytes.find_first_of("\r\n", pos);
  if (end == std::string_view::npos) end = bytes.size();
  line.assign(bytes.substr(pos, end - pos));
  pos = end;
  if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
  if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  return true;
}

}  // namespace

versions::VersionIndex versions::ParseVersionIndex(std::string_view bytes) {
  versions::VersionIndex index;
  size_t pos = 0;
  std::string file, version;
  while (ReadLine(bytes, pos, file)) {
    if (file.empty()) continue;
    if (!ReadLine(bytes, pos, version) || pos + 4 > bytes.size()) break;
    std::uint32_t raw = 0;
    for (int i = 3; i >= 0; --i) raw = (raw << 8) | static_cast<unsigned char>(bytes[pos + i]);
    pos += 4;
    index[file] = {version, static_cast<platform::DateValue>(raw)};
  }
  return index;
}

std::string versions::VersionRecordBytes(const std::string& file, const std::string& version,
                                         platform::DateValue date) {
  std::string out = file + "\r\n" + version + "\r\n";
  auto raw = static_cast<std::uint32_t>(date);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((raw >> (8 * i)) & 0xFF);
  return out;
}

void AddVersionRecord(const base::GlobalSettings& settings, const std::string& file,
                      platform::DateValue date, const std::string& version) {
  // A failed append only costs an unpack at the next scan.
  platform::AppendToFile(settings.VersionsDir + "ver.ini",
                         versions::VersionRecordBytes(file, version, date));
}

}  // namespace oxlip
