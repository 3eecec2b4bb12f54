#pragma once
// Decoding one folder of a 7z archive ourselves: a single packed stream through a chain of
// coders that liblzma knows (LZMA, LZMA2, after them the x86, ARM and Delta filters), BZip2
// through libbz2, or none at all (Copy). Other folders are left to libarchive.
#include <string>

#include "archive/output_folder.h"
#include "archive/sevenz_reader.h"

namespace oxlip::archive {

bool CanUnpackFolder(const SevenZFolderInfo& folder);

// The folder's whole output into the sink, in pieces; false with `error` set when the data is
// damaged or ends early (or the sink refused bytes, which sets its own error).
bool UnpackFolder(const std::string& archive, const SevenZFolderInfo& folder, const Sink& sink,
                  std::string* error);

// The same into a string, for a packed directory (which is never large).
bool UnpackFolderToString(const std::string& archive, const SevenZFolderInfo& folder,
                          std::string* out, std::string* error);

}  // namespace oxlip::archive
