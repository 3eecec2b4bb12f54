#include "archive/archive_format.h"

#include "archive/name_pattern.h"
#include "archive/sevenz_archive.h"
#include "archive/zip_archive.h"

namespace oxlip::archive {

std::optional<Format> DetectFormat(const std::string& path) {
  if (IsSevenZFile(path)) return Format::kSevenZ;
  if (IsZipFile(path)) return Format::kZip;
  if (IsLzmaFile(path)) return Format::kLzma;
  return std::nullopt;
}

Format NewArchiveFormat(const Command& command) {
  if (command.type) return *command.type;
  const std::string& name = command.archive;
  bool seven = name.size() >= 3 && FoldedName(name.substr(name.size() - 3)) == ".7z";
  return seven ? Format::kSevenZ : Format::kZip;
}

const char* FormatName(Format format) {
  switch (format) {
    case Format::kZip:
      return "zip";
    case Format::kSevenZ:
      return "7z";
    case Format::kLzma:
      break;
  }
  return "lzma";
}

}  // namespace oxlip::archive
