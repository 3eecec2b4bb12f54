#pragma once
// Our own 7z writer: every folder is one LZMA2 stream, and the folders are packed at the same
// time, one per core. Which data goes where, and how hard it is squeezed, is pack_plan's and
// packing_choice's business.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/sevenz_header.h"

namespace oxlip::archive {

struct PackEntry {
  std::string name;  // UTF-8, "/"-separated
  SevenZKind kind = SevenZKind::kFile;
  std::uint32_t permissions = 0644;
  std::int64_t modified = 0;  // seconds since 1970
  std::uint32_t modified_ns = 0;
  std::uint64_t size = 0;  // its bytes; a link's are its target
  // Where the bytes come from: a file on the disk, else the entry of that number (from 0, in
  // the order they are stored) of the archive being rewritten, else the link target.
  std::string disk_path;
  std::int64_t old_index = -1;
  std::string link_target;
};

struct SevenZWriteOptions {
  bool strongest = true;  // "-mx9"
  unsigned threads = 0;   // 0: one per core
  std::string old_archive;
};

// Writes a new archive at `path`, which must not exist. A file that does not hold what its
// entry says, or changes while it is read, is read again as it is then (the whole archive is
// written anew); one that keeps changing is an error that names it. On failure the caller
// removes what was written.
bool WriteSevenZ(const std::string& path, const std::vector<PackEntry>& entries,
                 const SevenZWriteOptions& options, std::string* error);

}  // namespace oxlip::archive
