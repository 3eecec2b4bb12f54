#pragma once
// Zip and jar archives, through libzip.
#include <string>
#include <vector>

#include "archive/command.h"
#include "archive/disk_items.h"

namespace oxlip::archive {

// True when libzip can open the file as a zip archive.
bool IsZipFile(const std::string& path);

// "x" and "e". Every entry is checked before anything is written.
bool ExtractZip(const Command& command, const std::string& archive, std::string* error);

// "a" and "u" (`only_newer`: an entry is replaced only by a newer file). Unchanged entries are
// copied as they are, without recompressing.
bool AddToZip(const Command& command, const std::string& archive,
              const std::vector<DiskItem>& items, bool only_newer, std::string* error);

// "d": removes every entry the names cover, folders with everything below them.
bool DeleteFromZip(const Command& command, const std::string& archive, std::string* error);

}  // namespace oxlip::archive
