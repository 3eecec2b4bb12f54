#pragma once
// Which kind of archive a file is, or should become.
#include <optional>
#include <string>

#include "archive/command.h"

namespace oxlip::archive {

// By content, never by name: 7z, zip (also with data in front), or a raw LZMA stream.
std::optional<Format> DetectFormat(const std::string& path);

// A new archive: "-t" decides, else ".7z" names a 7z archive and every other name a zip.
Format NewArchiveFormat(const Command& command);

const char* FormatName(Format format);

}  // namespace oxlip::archive
