#pragma once
// One archiver command line, parsed.
#include <optional>
#include <string>
#include <vector>

#include "platform/path.h"

namespace oxlip::archive {

enum class Format { kZip, kSevenZ, kLzma };

struct Exclusion {
  std::string name;
  bool any_depth = false;  // "-xr!" rather than "-x!"
};

struct Command {
  char letter = 0;  // 'a', 'x', 'e', 'd' or 'u'
  std::string archive;
  std::vector<std::string> names;       // from the command line, in the record form
  std::vector<std::string> list_files;  // "@file" arguments
  std::vector<std::string> listed;      // names read from the list files
  std::string output;                   // "-o"; empty means `folder`
  std::vector<Exclusion> exclusions;
  std::optional<Format> type;  // "-t"
  bool recurse = false;        // "-r"
  bool overwrite = false;      // "-aoa"
  bool strongest = false;      // "-mx9"
  bool hide = false;           // "-hide"
  // What relative paths are taken below; empty for the current folder.
  std::string folder;

  bool Extracts() const { return letter == 'x' || letter == 'e'; }
  bool Adds() const { return letter == 'a' || letter == 'u'; }

  // A path of the command line as the disk knows it: native, and below `folder` when it is
  // relative.
  std::string OnDisk(const std::string& path) const {
    std::string native = platform::NativePath(path);
    if (folder.empty() || platform::IsAbsolutePath(native)) return native;
    return platform::WithTrailingSeparator(platform::NativePath(folder)) + native;
  }
};

}  // namespace oxlip::archive
