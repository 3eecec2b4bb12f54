#pragma once
// 7z archives and raw LZMA files, through libarchive.
#include <string>
#include <vector>

#include "archive/command.h"
#include "archive/disk_items.h"

namespace oxlip::archive {

bool IsSevenZFile(const std::string& path);  // by its signature
bool IsLzmaFile(const std::string& path);    // a raw LZMA stream libarchive can unpack

// "x" and "e" from a 7z archive. Every entry is checked before anything is written.
bool ExtractSevenZ(const Command& command, const std::string& archive, std::string* error);

// A raw LZMA file unpacks to its own name without ".lzma".
bool ExtractLzma(const Command& command, const std::string& archive, std::string* error);

// "a" and "u" (`only_newer`), and "d". A 7z archive cannot be changed in place: it is written
// anew beside the old one and replaces it only when complete.
bool AddToSevenZ(const Command& command, const std::string& archive,
                 const std::vector<DiskItem>& items, bool only_newer, std::string* error);
bool DeleteFromSevenZ(const Command& command, const std::string& archive, std::string* error);

}  // namespace oxlip::archive
