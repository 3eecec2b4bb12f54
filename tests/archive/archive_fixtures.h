#pragma once
// Real archives for the archiver's tests, written and read with libzip and libarchive directly,
// so the code under test never checks itself.
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/seven_zip_program.h"

namespace oxlip::test {

struct FakeEntry {
  FakeEntry(std::string entry_name, std::string content = "", bool store = false)
      : name(std::move(entry_name)), data(std::move(content)), stored(store) {}
  static FakeEntry Link(std::string entry_name, std::string target) {
    FakeEntry entry(std::move(entry_name));
    entry.link_target = std::move(target);
    return entry;
  }

  std::string name;  // a trailing "/" makes a folder
  std::string data;
  bool stored = false;      // zip: no compression
  std::string link_target;  // non-empty: a symbolic link
};

void MakeZip(const std::string& path, const std::vector<FakeEntry>& entries);
void MakeSevenZ(const std::string& path, const std::vector<FakeEntry>& entries);
void MakeLzma(const std::string& path, const std::string& data);

struct Item {
  bool folder = false;
  std::int64_t size = 0;
  std::uint32_t crc = 0;
  bool link = false;  // a symbolic link entry; size and CRC are its target's
  bool operator==(const Item&) const = default;
};
void PrintTo(const Item& item, std::ostream* out);
// Name ("/"-separated, no trailing "/") to item.
using Listing = std::map<std::string, Item>;

// A zip or 7z archive, read by libarchive.
Listing ListArchive(const std::string& path);
// A folder on disk, read through links as the tree lister of tests/support reads it.
Listing ListTree(const std::string& folder);
// Zip compression method per entry name.
std::map<std::string, int> ZipMethods(const std::string& path);

std::uint32_t Crc(const std::string& data);

// Reproducible data: words that pack well, and bytes that do not pack at all.
std::string Text(std::size_t size, unsigned seed = 1);
std::string Noise(std::size_t size, unsigned seed = 1);
// Flips bits of the byte a third of the way into the file; the damaged bytes.
std::string Damage(const std::string& path);

// Relative paths of the line are taken below `folder` (the current folder when empty).
int RunArchiver(const std::string& command_line, const std::string& folder = "");
// "x <archive> -aoa -o<out>\"
int ExtractTo(const std::string& archive, const std::string& out);

}  // namespace oxlip::test
